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

// The clock never goes back, so actions arrive in the order of their moments.
void Scheduler::post(Ms moment, const void *owner, std::function<void()> action)
{
    if (!halted_)
        actions_.push_back({moment, owner, std::move(action)});
}

void Scheduler::cancel(const void *owner)
{
    std::erase_if(actions_, [owner](const Action &action) { return action.owner == owner; });
}

Timer *Scheduler::earliest() const
{
    const auto order = [](const Timer *a, const Timer *b) {
        return std::tie(a->due_, a->sequence_) < std::tie(b->due_, b->sequence_);
    };
    const auto found = std::min_element(running_.begin(), running_.end(), order);
    return found == running_.end() ? nullptr : *found;
}

bool Scheduler::deliverDue(Ms upTo, const std::function<bool()> &enough)
{
    if (delivering_)
        return false;
    while (!halted_) {
        Timer *timer = earliest();
        const bool actionFirst = !actions_.empty() && actions_.front().moment <= upTo &&
                                 (!timer || timer->due_ > actions_.front().moment);
        if (actionFirst) {
            const Action action = std::move(actions_.front());
            actions_.pop_front();
            delivering_ = action.moment;
            action.run();
        } else if (timer && timer->due_ <= upTo) {
            delivering_ = timer->due_;
            timer->due_ += timer->interval();
            timer->tick();
        } else {
            break;
        }
        if (enough && enough()) {
            delivering_.reset();
            const std::optional<Ms> due = nextDue();
            return halted_ || !due || *due > upTo;
        }
    }
    delivering_.reset();
    return true;
}

std::optional<Ms> Scheduler::nextDue() const
{
    std::optional<Ms> due;
    if (const Timer *timer = earliest())
        due = timer->due_;
    if (!actions_.empty() && (!due || actions_.front().moment < *due))
        due = actions_.front().moment;
    return due;
}

void Scheduler::halt()
{
    halted_ = true;
    running_.clear();
    actions_.clear();
}

} // namespace tk
