#include "scheduler.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace tk {

Scheduler::Scheduler(Clock &clock) : clock_(clock) {}

Ms Scheduler::now() const
{
    return delivering_ ? *delivering_ : clock_.monotonic();
}

void Scheduler::start(Ticker &ticker)
{
    if (halted_ || ticker.interval() <= 0)
        return;
    running_.push_back({&ticker, now() + ticker.interval(), nextSequence_++});
}

void Scheduler::stop(Ticker &ticker)
{
    std::erase_if(running_, [&ticker](const Running &running) { return running.ticker == &ticker; });
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

const Scheduler::Running *Scheduler::earliest() const
{
    const auto order = [](const Running &a, const Running &b) {
        return std::tie(a.due, a.sequence) < std::tie(b.due, b.sequence);
    };
    const auto found = std::min_element(running_.begin(), running_.end(), order);
    return found == running_.end() ? nullptr : &*found;
}

Scheduler::Running *Scheduler::earliest()
{
    return const_cast<Running *>(std::as_const(*this).earliest());
}

bool Scheduler::deliverDue(Ms upTo, const std::function<bool()> &enough)
{
    if (delivering_)
        return false;
    while (!halted_) {
        Running *timer = earliest();
        const bool actionFirst = !actions_.empty() && actions_.front().moment <= upTo &&
                                 (!timer || timer->due > actions_.front().moment);
        if (actionFirst) {
            const Action action = std::move(actions_.front());
            actions_.pop_front();
            delivering_ = action.moment;
            action.run();
        } else if (timer && timer->due <= upTo) {
            delivering_ = timer->due;
            timer->due += timer->ticker->interval();
            timer->ticker->tick();
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
    if (const Running *timer = earliest())
        due = timer->due;
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
