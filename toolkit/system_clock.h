#pragma once

#include "clock.h"
#include "local_time.h"

#include <QTimer>

namespace tk {

// The real clock. Its monotonic count includes suspended time, so a call goes on being metered while the
// computer sleeps; one precise Qt timer wakes the event loop for the earliest due tick.
//
// Ticks mostly fall due a whole interval after the last wake-up, so the timer is left repeating at that
// interval while it fires on time: setting it afresh every second was a good part of what the program
// did while idle. Qt's timers run on a clock that stops while the computer sleeps, so a timer that fires
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
    // When the timer fires next, on this clock's count, while that is known.
    std::optional<Ms> nextFiring_;
    LocalTime local_;
};

} // namespace tk
