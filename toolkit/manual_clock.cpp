#include "manual_clock.h"

namespace tk {

ManualClock::ManualClock(const QDateTime &start)
    : startEpochMs_(start.toMSecsSinceEpoch()), local_(start.timeZone())
{
}

LocalMoment ManualClock::localTimeAt(Ms moment) const
{
    return local_.at(startEpochMs_ + moment);
}

Ms ManualClock::workTime() const
{
    return realWork_ ? steadyTime() : work_;
}

void ManualClock::advance(Ms ms)
{
    now_ += ms;
    wake(now_);
}

} // namespace tk
