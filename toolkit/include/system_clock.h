#pragma once

#include "clock.h"
#include "local_time.h"

#include <QTimer>

namespace tk {

// The real clock. Its monotonic count includes suspended time, so a call goes on being metered while the
// computer sleeps; one precise Qt timer wakes the event loop for the earliest due tick.
//
// Ticks mostly fall due a whole interval after the last wake-up, so the timer is left repeating at that
// interval while it fires on time: setting it afresh every second would be a good part of an idle
// program's work. Qt's timers run on a clock that stops while the computer sleeps, so a timer that fires
// late is set afresh from this clock's count.
class SystemClock final : public Clock
{
public:
    SystemClock();

    Ms monotonic() const override;
    LocalMoment localTimeAt(Ms moment) const override;
    Ms workTime() const override;
    void wakeAt(std::optional<Ms> due) override;

private:
    void fired();

    QTimer wakeTimer_;
    // The due moment the timer is set for, and when it fires for it (a moment later, if it was set at a
    // wake-up that came a moment late).
    std::optional<Ms> due_;
    Ms firesAt_ = 0;
    // While a wake-up that came on time is handled: the due moment it came for.
    std::optional<Ms> wokenFor_;
    LocalTime local_;
};

} // namespace tk
