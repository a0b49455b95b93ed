#include "check_box.h"

#include "form_view.h"

namespace tk {

CheckBox::CheckBox(const ControlSite &site, const ControlLayout &layout, std::size_t index)
    : Control(site, layout, index), value_(layout.value), enabled_(layout.enabled)
{
}

// Applied to the view at once: a disabled box must ignore the very next click.
void CheckBox::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (site().view)
        site().view->enabledChanged(*this);
}

void CheckBox::click()
{
    if (enabled_)
        value_ = 1 - value_;
}

} // namespace tk
