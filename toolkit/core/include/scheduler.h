#pragma once

#include "clock.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tk {

// What the scheduler delivers ticks to: something that ticks once per interval while it runs. The scheduler
// keeps when each tick falls due.
class Ticker
{
public:
    virtual Ms interval() const = 0;
    virtual void tick() = 0;

protected:
    ~Ticker() = default;
};

// Delivers every tick of every timer of the program, one at a time, in due-time order; ties go to the timer
// that was enabled first. A timer's next tick is due one interval after the last one fell due, not after it
// was delivered, so a loop held up for any length of time drops no tick: on waking, every interval that has
// passed is delivered, in order. While a tick is delivered, "now" is the moment at which it fell due.
//
// A user's action takes its place among the ticks by the moment it happened: it runs after every tick that
// fell due by then and before any that fell due later, and while it runs "now" is that moment.
class Scheduler
{
public:
    explicit Scheduler(Clock &clock);

    Ms now() const;

    // A ticker without an interval never ticks.
    void start(Ticker &ticker);
    void stop(Ticker &ticker);

    // An action that happened at `moment` on behalf of `owner`; cancel(owner) drops those not yet run.
    void post(Ms moment, const void *owner, std::function<void()> action);
    void cancel(const void *owner);

    // Delivers ticks and actions due up to `upTo` in order, asking `enough` after each whether to stop there.
    // Returns whether everything due up to `upTo` has been delivered.
    bool deliverDue(Ms upTo, const std::function<bool()> &enough = {});
    std::optional<Ms> nextDue() const;

    // No further tick or action is delivered, ever.
    void halt();

private:
    struct Action {
        Ms moment;
        const void *owner;
        std::function<void()> run;
    };

    struct Running {
        Ticker *ticker;
        Ms due;
        std::uint64_t sequence;
    };

    Running *earliest();
    const Running *earliest() const;

    Clock &clock_;
    std::vector<Running> running_;
    std::deque<Action> actions_;
    std::uint64_t nextSequence_ = 0;
    std::optional<Ms> delivering_;
    bool halted_ = false;
};

} // namespace tk
