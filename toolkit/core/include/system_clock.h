#pragma once

#include "clock.h"
#include "local_time.h"

#include <QTimer>

namespace tk {

// The real clock. Its monotonic count includes suspended time, so a call goes on being metered while the
// computer sleeps; one precise single-shot Qt timer wakes the event loop for the earliest due tick. Qt's
// timers run on a clock that stops while the computer sleeps: one that comes late after a sleep delivers
// every tick due by this clock's count.
class SystemClock final : public Clock
{
public:
    SystemClock();

    Ms monotonic() const override;
    LocalMoment localTimeAt(Ms moment) const override;
    Ms workTime() const override;
    void wakeAt(std::optional<Ms> due) override;

private:
    QTimer wakeTimer_;
    std::optional<Ms> due_;
    LocalTime local_;
};

} // namespace tk
