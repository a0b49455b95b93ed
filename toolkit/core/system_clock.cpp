#include "system_clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace tk {

namespace {

// Ticks that fall due within this much of a wake-up are delivered by it instead of by a wake-up of their own.
constexpr Ms wakeSharing = 1;

// The system's clocks are read directly: every idle wake-up reads them, and the C++ library's clocks would
// add that library's pages to the memory an idle second touches.
Ms millisecondsOf(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return Ms{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

} // namespace

SystemClock::SystemClock()
{
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    wakeTimer_.setSingleShot(true);
    QObject::connect(&wakeTimer_, &QTimer::timeout, &wakeTimer_, [this] {
        due_.reset();
        wake(monotonic() + wakeSharing);
    });
}

Ms SystemClock::monotonic() const
{
    return millisecondsOf(CLOCK_BOOTTIME);
}

// Real time rather than processor time: a window that the user sees frozen is frozen whatever the cause.
Ms SystemClock::workTime() const
{
    return millisecondsOf(CLOCK_MONOTONIC);
}

LocalMoment SystemClock::localTimeAt(Ms moment) const
{
    return local_.at(millisecondsOf(CLOCK_REALTIME) - (monotonic() - moment));
}

void SystemClock::wakeAt(std::optional<Ms> due)
{
    if (due == due_)
        return;
    due_ = due;
    if (due)
        wakeTimer_.start(std::chrono::milliseconds(std::max<Ms>(0, *due - monotonic())));
    else
        wakeTimer_.stop();
}

} // namespace tk
