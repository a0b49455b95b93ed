#pragma once

#include "clock.h"
#include "local_time.h"

#include <QDateTime>

namespace tk {

// A clock that moves only when told to, for tests: a 25-hour call takes as long as its handlers need.
class ManualClock final : public Clock
{
public:
    // `start` is the moment at the monotonic moment 0; its local date and time are the C library's, as the
    // real clock's are.
    explicit ManualClock(const QDateTime &start);

    Ms monotonic() const override { return now_; }
    LocalMoment localTimeAt(Ms moment) const override;
    Ms workTime() const override;
    void wakeAt(std::optional<Ms>) override {}

    // Moves time on by `ms` and delivers, in order, every tick that falls due on the way: all of them at
    // once, unless work is counted.
    void advance(Ms ms);

    // Work is counted only as handlers report it, `ms` at a time, or else as real time passes: a catch-up is
    // then cut into slices, the next of which runs from the event loop.
    void work(Ms ms) { work_ += ms; }
    void measureRealWork() { realWork_ = true; }

private:
    Ms now_ = 0;
    Ms work_ = 0;
    bool realWork_ = false;
    qint64 startEpochMs_;
    LocalTime local_;
};

} // namespace tk
