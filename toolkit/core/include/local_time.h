#pragma once

#include <QtGlobal>

#include <chrono>
#include <limits>

namespace tk {

// A moment as the local clock showed it. Its date and time of day are read with the standard library's
// civil calendar rather than through a QDateTime: the hour is read every second, idle, in a call and
// through every catch-up after a long sleep.
using LocalMoment = std::chrono::local_time<std::chrono::milliseconds>;

// The local date and time of moments (milliseconds since the epoch) as the C library gives them: the zone
// is TZ, else the system's. An offset found is kept for the rest of its hour (UTC), up to a change within
// it, so that a lookup is mostly an addition: a catch-up of days looks up every second of them. The C
// library reads the zone again at each new hour, so a change of the system's zone is followed within it.
class LocalTime
{
public:
    LocalMoment at(qint64 epochMs) const;

private:
    void refresh(qint64 epochMs) const;

    mutable qint64 validFrom_ = std::numeric_limits<qint64>::max();
    mutable qint64 validUntil_ = std::numeric_limits<qint64>::min();
    mutable qint64 offsetMs_ = 0;
};

} // namespace tk
