#pragma once

#include "clock.h"

#include <QTimeZone>

namespace tk {

// A clock that moves only when told to, for tests: a 25-hour call takes as long as its handlers need.
class ManualClock final : public Clock
{
public:
    // `start` is the local date and time at the monotonic moment 0, in its own time zone.
    explicit ManualClock(const QDateTime &start);

    Ms monotonic() const override { return now_; }
    QDateTime localTimeAt(Ms moment) const override;
    void wakeAt(std::optional<Ms>) override {}

    // Moves time on by `ms` and delivers, in order, every tick that falls due on the way.
    void advance(Ms ms);

private:
    Ms now_ = 0;
    qint64 startEpochMs_;
    QTimeZone zone_;
};

} // namespace tk
