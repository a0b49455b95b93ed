#pragma once

#include "clock.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tk {

class Timer;

// Delivers every tick of every timer of the program, one at a time, in due-time order; ties go to the timer
// that was enabled first. A timer's next tick is due one interval after the last one fell due, not after it
// was delivered, so a loop held up for any length of time drops no tick: on waking, every interval that has
// passed is delivered, in order. While a tick is delivered, "now" is the moment at which it fell due.
class Scheduler
{
public:
    explicit Scheduler(Clock &clock);

    Ms now() const;

    void start(Timer &timer);
    void stop(Timer &timer);

    void deliverDue(Ms upTo);
    std::optional<Ms> nextDue() const;

    // No further tick is delivered, ever.
    void halt();

private:
    Timer *earliest() const;

    Clock &clock_;
    std::vector<Timer *> running_;
    std::uint64_t nextSequence_ = 0;
    std::optional<Ms> delivering_;
    bool halted_ = false;
};

} // namespace tk
