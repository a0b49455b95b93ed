#include "timer.h"

namespace tk {

Timer::Timer(Form &form, const ControlLayout &layout, std::size_t index, Scheduler &scheduler)
    : Control(form, layout, index), scheduler_(scheduler), interval_(layout.interval)
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
