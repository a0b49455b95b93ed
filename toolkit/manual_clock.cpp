#include "manual_clock.h"

#include <chrono>

namespace tk {

ManualClock::ManualClock(const QDateTime &start)
    : startEpochMs_(start.toMSecsSinceEpoch()), local_(start.timeZone())
{
}

QDateTime ManualClock::localTimeAt(Ms moment) const
{
    return local_.at(startEpochMs_ + moment);
}

Ms ManualClock::workTime() const
{
    if (!realWork_)
        return work_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ManualClock::advance(Ms ms)
{
    now_ += ms;
    wake(now_);
}

} // namespace tk
