#pragma once

#include "clock.h"

#include <QObject>

#include <functional>

namespace tk {

class Scheduler;

// Delivers the scheduler's ticks as the clock wakes, and the user's actions as they come, one at a time.
// Ticks missed while the loop was held up or the computer slept are caught up in slices of about 30 ms of
// work, with a return to the event loop after each: the windows repaint and answer the window manager
// meanwhile, and an action given then waits in the scheduler for its turn.
class EventDelivery
{
public:
    EventDelivery(Clock &clock, Scheduler &scheduler);
    ~EventDelivery();
    EventDelivery(const EventDelivery &) = delete;
    EventDelivery &operator=(const EventDelivery &) = delete;

    // Runs an action given now on behalf of `owner`, after every tick that fell due before it and before any
    // that falls due after it: at once, unless ticks are still to be caught up.
    void dispatch(const void *owner, const std::function<void()> &action);
    // Asks the clock to wake for the next tick due, after an event that may have started a timer.
    void afterEvent();
    // Nothing more is delivered, and the clock is no longer asked to wake.
    void stop();

private:
    void deliverSlice(Ms upTo);

    Clock &clock_;
    Scheduler &scheduler_;
    QObject context_;
    bool catchUpPosted_ = false;
    Ms catchUpTo_ = 0;
    bool stopped_ = false;
};

} // namespace tk
