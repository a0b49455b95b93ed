#include "local_time.h"

#include <ctime>

namespace tk {

namespace {

constexpr qint64 hourSeconds = 3600;

// The offset from UTC at a second since the epoch; none where the C library cannot tell.
qint64 offsetAt(qint64 second)
{
    const auto moment = static_cast<std::time_t>(second);
    std::tm local{};
    return localtime_r(&moment, &local) ? qint64{local.tm_gmtoff} : 0;
}

} // namespace

LocalMoment LocalTime::at(qint64 epochMs) const
{
    if (epochMs < validFrom_ || epochMs >= validUntil_)
        refresh(epochMs);
    return LocalMoment(std::chrono::milliseconds(epochMs + offsetMs_));
}

// Offsets change on whole seconds, and days apart in every zone of the database: where the hour's first or
// last second has another offset than this one, the change is found by halving.
void LocalTime::refresh(qint64 epochMs) const
{
    // localtime_r reads TZ and /etc/localtime only once; tzset reads them again if they changed.
    tzset();
    using namespace std::chrono;
    const qint64 second = floor<seconds>(milliseconds(epochMs)).count();
    const qint64 offset = offsetAt(second);
    qint64 from = second - (second % hourSeconds + hourSeconds) % hourSeconds;
    qint64 until = from + hourSeconds;
    if (offsetAt(from) != offset) {
        qint64 other = from;
        for (from = second; from - other > 1;) {
            const qint64 middle = other + (from - other) / 2;
            (offsetAt(middle) == offset ? from : other) = middle;
        }
    }
    if (offsetAt(until - 1) != offset) {
        qint64 same = second;
        for (until -= 1; until - same > 1;) {
            const qint64 middle = same + (until - same) / 2;
            (offsetAt(middle) == offset ? same : until) = middle;
        }
    }
    offsetMs_ = offset * 1000;
    validFrom_ = from * 1000;
    validUntil_ = until * 1000;
}

} // namespace tk
