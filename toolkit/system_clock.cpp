#include "system_clock.h"

#include <chrono>
#include <ctime>

namespace tk {

namespace {

// Ticks that fall due within this much of a wake-up are delivered by it instead of by a wake-up of their own.
constexpr Ms wakeSharing = 1;

// A precise Qt timer fires this soon after its moment, on this clock's count rounded to milliseconds, when
// nothing held it up and the computer did not sleep.
constexpr Ms onTime = 2;

} // namespace

SystemClock::SystemClock()
{
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wakeTimer_, &QTimer::timeout, &wakeTimer_, [this] { fired(); });
}

Ms SystemClock::monotonic() const
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return Ms{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// Real time rather than processor time: a window that the user sees frozen is frozen whatever the cause.
Ms SystemClock::workTime() const
{
    return steadyTime();
}

LocalMoment SystemClock::localTimeAt(Ms moment) const
{
    const Ms epochNow = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    return local_.at(epochNow - (monotonic() - moment));
}

void SystemClock::wakeAt(std::optional<Ms> due)
{
    if (!due) {
        wakeTimer_.stop();
        nextFiring_.reset();
        return;
    }
    if (due == nextFiring_)
        return;
    const Ms now = monotonic();
    const Ms wait = std::max<Ms>(0, *due - now);
    wakeTimer_.setSingleShot(wait == 0);
    wakeTimer_.start(std::chrono::milliseconds(wait));
    nextFiring_ = now + wait;
}

// A repeating timer that fired on time fires again one interval later. One that fired late may have been
// held up by a sleep, which its own clock did not count; the next wake-up sets it afresh.
void SystemClock::fired()
{
    const Ms now = monotonic();
    if (wakeTimer_.isActive() && nextFiring_ && now >= *nextFiring_ && now - *nextFiring_ <= onTime)
        *nextFiring_ += wakeTimer_.interval();
    else
        nextFiring_.reset();
    wake(now + wakeSharing);
}

} // namespace tk
