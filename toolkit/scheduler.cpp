#include "scheduler.h"

#include "timer.h"

#include <algorithm>
#include <tuple>

namespace tk {

Scheduler::Scheduler(Clock &clock) : clock_(clock) {}

Ms Scheduler::now() const
{
    return delivering_ ? *delivering_ : clock_.monotonic();
}

// A timer without an interval never ticks.
void Scheduler::start(Timer &timer)
{
    if (halted_ || timer.interval() <= 0)
        return;
    timer.due_ = now() + timer.interval();
    timer.sequence_ = nextSequence_++;
    running_.push_back(&timer);
}

void Scheduler::stop(Timer &timer)
{
    std::erase(running_, &timer);
}

Timer *Scheduler::earliest() const
{
    const auto order = [](const Timer *a, const Timer *b) {
        return std::tie(a->due_, a->sequence_) < std::tie(b->due_, b->sequence_);
    };
    const auto found = std::min_element(running_.begin(), running_.end(), order);
    return found == running_.end() ? nullptr : *found;
}

void Scheduler::deliverDue(Ms upTo)
{
    if (delivering_)
        return;
    while (!halted_) {
        Timer *timer = earliest();
        if (!timer || timer->due_ > upTo)
            break;
        delivering_ = timer->due_;
        timer->due_ += timer->interval();
        timer->tick();
    }
    delivering_.reset();
}

std::optional<Ms> Scheduler::nextDue() const
{
    if (const Timer *timer = earliest())
        return timer->due_;
    return std::nullopt;
}

void Scheduler::halt()
{
    halted_ = true;
    running_.clear();
}

} // namespace tk
