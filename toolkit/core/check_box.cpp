#include "check_box.h"

#include "form.h"

namespace tk {

CheckBox::CheckBox(Form &form, const ControlLayout &layout, std::size_t index)
    : Control(form, layout, index), value_(layout.value), enabled_(layout.enabled)
{
}

// Applied to the view at once: a disabled box must ignore the very next click.
void CheckBox::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    form().enabledChanged(*this);
}

void CheckBox::click()
{
    if (enabled_)
        value_ = 1 - value_;
}

} // namespace tk
