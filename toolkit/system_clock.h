#pragma once

#include "clock.h"
#include "local_time.h"

#include <QTimer>

namespace tk {

// The real clock. Its monotonic count includes suspended time, so a call goes on being metered while the
// computer sleeps; one precise Qt timer wakes the event loop for the earliest due tick.
class SystemClock final : public Clock
{
public:
    SystemClock();

    Ms monotonic() const override;
    QDateTime localTimeAt(Ms moment) const override;
    Ms workTime() const override;
    void wakeAt(std::optional<Ms> due) override;

private:
    QTimer wakeTimer_;
    LocalTime local_;
};

} // namespace tk
