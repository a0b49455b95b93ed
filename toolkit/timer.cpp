#include "timer.h"

namespace tk {

Timer::Timer(Form &form, const ControlLayout &layout, Scheduler &scheduler)
    : Control(form, layout, nullptr), scheduler_(scheduler), interval_(layout.interval)
{
}

Timer::~Timer()
{
    setEnabled(false);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled)
        scheduler_.start(*this);
    else
        scheduler_.stop(*this);
}

} // namespace tk
