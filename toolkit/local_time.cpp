#include "local_time.h"

#include <QDateTime>

#include <algorithm>

namespace tk {

namespace {

constexpr qint64 hourMs = 3600 * 1000;

} // namespace

LocalMoment LocalTime::at(qint64 epochMs) const
{
    if (epochMs < validFrom_ || epochMs >= validUntil_)
        refresh(epochMs);
    return LocalMoment(std::chrono::milliseconds(epochMs + qint64{offsetSeconds_} * 1000));
}

void LocalTime::refresh(qint64 epochMs) const
{
    if (followsSystem_)
        zone_ = QTimeZone::systemTimeZone();
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(epochMs, QTimeZone::utc());
    offsetSeconds_ = zone_.offsetFromUtc(moment);
    validFrom_ = std::numeric_limits<qint64>::min();
    validUntil_ = std::numeric_limits<qint64>::max();
    if (zone_.hasTransitions()) {
        // The transition at or before the moment, and the one after it.
        const QTimeZone::OffsetData previous = zone_.previousTransition(moment.addMSecs(1));
        if (previous.atUtc.isValid())
            validFrom_ = previous.atUtc.toMSecsSinceEpoch();
        const QTimeZone::OffsetData next = zone_.nextTransition(moment);
        if (next.atUtc.isValid())
            validUntil_ = next.atUtc.toMSecsSinceEpoch();
    }
    if (followsSystem_) {
        validFrom_ = std::max(validFrom_, epochMs - epochMs % hourMs);
        validUntil_ = std::min(validUntil_, epochMs - epochMs % hourMs + hourMs);
    }
}

} // namespace tk
