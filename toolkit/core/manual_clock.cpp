#include "manual_clock.h"

#include <chrono>

namespace tk {

ManualClock::ManualClock(const QDateTime &start) : startEpochMs_(start.toMSecsSinceEpoch()) {}

LocalMoment ManualClock::localTimeAt(Ms moment) const
{
    return local_.at(startEpochMs_ + moment);
}

Ms ManualClock::workTime() const
{
    if (!realWork_)
        return work_;
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void ManualClock::advance(Ms ms)
{
    now_ += ms;
    wake(now_);
}

} // namespace tk
