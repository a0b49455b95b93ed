#include "system_clock.h"

#include <QDateTime>

#include <chrono>
#include <ctime>

namespace tk {

namespace {

// Ticks that fall due within this much of a wake-up are delivered by it instead of by a wake-up of their own.
constexpr Ms wakeSharing = 1;

// A precise Qt timer that nothing held up fires this soon after its moment, on this clock's count rounded to
// milliseconds; one that fires later may have been held up by a sleep, which its own clock did not count.
constexpr Ms onTime = 4;

} // namespace

SystemClock::SystemClock()
{
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wakeTimer_, &QTimer::timeout, &wakeTimer_, [this] { fired(); });
}

Ms SystemClock::monotonic() const
{
    return systemClockMs(CLOCK_BOOTTIME);
}

// Real time rather than processor time: a window that the user sees frozen is frozen whatever the cause.
Ms SystemClock::workTime() const
{
    return steadyTime();
}

LocalMoment SystemClock::localTimeAt(Ms moment) const
{
    return local_.at(QDateTime::currentMSecsSinceEpoch() - (monotonic() - moment));
}

void SystemClock::wakeAt(std::optional<Ms> due)
{
    if (!due) {
        wakeTimer_.stop();
        due_.reset();
        return;
    }
    if (due == due_)
        return;
    // Set at a wake-up that came on time, the timer repeats at the distance from that wake-up's due moment
    // to this one: mostly the next distance too. Otherwise it fires once, exactly at the moment.
    const Ms now = monotonic();
    const bool repeat = wokenFor_ && *due > *wokenFor_ && now - *wokenFor_ <= onTime;
    const Ms interval = repeat ? *due - *wokenFor_ : std::max<Ms>(0, *due - now);
    wakeTimer_.setSingleShot(!repeat);
    wakeTimer_.start(std::chrono::milliseconds(interval));
    due_ = due;
    firesAt_ = now + interval;
}

void SystemClock::fired()
{
    const Ms now = monotonic();
    const bool cameOnTime = due_ && now >= firesAt_ && now - firesAt_ <= onTime;
    if (cameOnTime)
        wokenFor_ = due_;
    // A repeating timer fires again one interval later; after a late one the next wake-up sets it afresh.
    if (cameOnTime && wakeTimer_.isActive()) {
        *due_ += wakeTimer_.interval();
        firesAt_ += wakeTimer_.interval();
    } else {
        due_.reset();
    }
    wake(now + wakeSharing);
    wokenFor_.reset();
}

} // namespace tk
