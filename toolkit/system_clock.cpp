#include "system_clock.h"

#include <chrono>
#include <ctime>

namespace tk {

namespace {

// Ticks that fall due within this much of a wake-up are delivered by it instead of by a wake-up of their own.
constexpr Ms wakeSharing = 1;

} // namespace

SystemClock::SystemClock()
{
    wakeTimer_.setSingleShot(true);
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wakeTimer_, &QTimer::timeout, &wakeTimer_, [this] { wake(monotonic() + wakeSharing); });
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

QDateTime SystemClock::localTimeAt(Ms moment) const
{
    return local_.at(QDateTime::currentMSecsSinceEpoch() - (monotonic() - moment));
}

void SystemClock::wakeAt(std::optional<Ms> due)
{
    if (!due) {
        wakeTimer_.stop();
        return;
    }
    const Ms wait = std::max<Ms>(0, *due - monotonic());
    wakeTimer_.start(std::chrono::milliseconds(wait));
}

} // namespace tk
