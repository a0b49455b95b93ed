#include "event_delivery.h"

#include "scheduler.h"

#include <algorithm>

namespace tk {

namespace {

// Short enough for a window that never looks frozen, long enough that the return to the event loop costs
// little; a slice ends after the tick that reaches it.
constexpr Ms sliceLength = 30;

} // namespace

EventDelivery::EventDelivery(Clock &clock, Scheduler &scheduler) : clock_(clock), scheduler_(scheduler)
{
    clock_.setWakeHandler([this](Ms upTo) { deliverSlice(upTo); });
}

EventDelivery::~EventDelivery()
{
    clock_.setWakeHandler(nullptr);
    clock_.wakeAt(std::nullopt);
}

void EventDelivery::dispatch(const void *owner, const std::function<void()> &action)
{
    const Ms moment = clock_.monotonic();
    scheduler_.post(moment, owner, action);
    deliverSlice(moment);
}

void EventDelivery::deliverSlice(Ms upTo)
{
    catchUpTo_ = std::max(catchUpTo_, upTo);
    // A slice already waiting in the event loop goes on to the present.
    if (catchUpPosted_)
        return;
    const Ms start = clock_.workTime();
    const bool done =
        scheduler_.deliverDue(catchUpTo_, [this, start] { return clock_.workTime() - start >= sliceLength; });
    if (!done && !stopped_) {
        catchUpPosted_ = true;
        QMetaObject::invokeMethod(
            &context_,
            [this] {
                catchUpPosted_ = false;
                deliverSlice(clock_.monotonic());
            },
            Qt::QueuedConnection);
    }
    afterEvent();
}

void EventDelivery::afterEvent()
{
    if (stopped_)
        return;
    // While a catch-up goes on, its next slice wakes the scheduler.
    clock_.wakeAt(catchUpPosted_ ? std::nullopt : scheduler_.nextDue());
}

void EventDelivery::stop()
{
    stopped_ = true;
    clock_.wakeAt(std::nullopt);
}

} // namespace tk
