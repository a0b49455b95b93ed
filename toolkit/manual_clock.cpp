#include "manual_clock.h"

namespace tk {

ManualClock::ManualClock(const QDateTime &start)
    : startEpochMs_(start.toMSecsSinceEpoch()), zone_(start.timeZone())
{
}

QDateTime ManualClock::localTimeAt(Ms moment) const
{
    return QDateTime::fromMSecsSinceEpoch(startEpochMs_ + moment, zone_);
}

void ManualClock::advance(Ms ms)
{
    now_ += ms;
    wake(now_);
}

} // namespace tk
