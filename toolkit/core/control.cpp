#include "control.h"

#include "form_host.h"
#include "form_view.h"

namespace tk {

Control::Control(const ControlSite &site, const ControlLayout &layout, std::size_t index)
    : Mirror(site.host), site_(site), name_(layout.name), index_(index)
{
}

void Control::updateView()
{
    if (site_.view)
        site_.view->controlChanged(*this);
}

BoxControl::BoxControl(const ControlSite &site, const ControlLayout &layout, std::size_t index)
    : Control(site, layout, index), top_(float(layout.box.top))
{
}

void CommandControl::click()
{
    site().host.dispatch(site().form, click_);
}

} // namespace tk
