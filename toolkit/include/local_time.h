#pragma once

#include <QTimeZone>

#include <chrono>
#include <limits>

namespace tk {

// A moment as the local clock showed it. Its date and time of day are read with the standard library's
// civil calendar rather than through a QDateTime: the hour is read every second, idle, in a call and
// through every catch-up after a long sleep.
using LocalMoment = std::chrono::local_time<std::chrono::milliseconds>;

// The local date and time of moments (milliseconds since the epoch) in one time zone. The zone's offset from
// UTC is kept until its next transition, so that a lookup is mostly an addition: a catch-up of days looks up
// every second of them. Made without a zone, it follows the system's, looked at again every hour.
class LocalTime
{
public:
    LocalTime() = default;
    explicit LocalTime(const QTimeZone &zone) : zone_(zone), followsSystem_(false) {}

    LocalMoment at(qint64 epochMs) const;

private:
    void refresh(qint64 epochMs) const;

    mutable QTimeZone zone_;
    bool followsSystem_ = true;
    mutable qint64 validFrom_ = std::numeric_limits<qint64>::max();
    mutable qint64 validUntil_ = std::numeric_limits<qint64>::min();
    mutable int offsetSeconds_ = 0;
};

} // namespace tk
