#include "timer.h"

#include "form_host.h"

namespace tk {

Timer::Timer(const ControlSite &site, const ControlLayout &layout, std::size_t index)
    : Control(site, layout, index), scheduler_(site.host.scheduler()), interval_(layout.interval)
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
