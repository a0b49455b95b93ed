#include "control.h"

#include "form.h"

namespace tk {

Control::Control(Form &form, const ControlLayout &layout, std::size_t index)
    : Mirror(form.program()), form_(form), name_(layout.name), index_(index)
{
}

void Control::updateView()
{
    form_.controlChanged(*this);
}

BoxControl::BoxControl(Form &form, const ControlLayout &layout, std::size_t index)
    : Control(form, layout, index), top_(float(layout.box.top))
{
}

void CommandControl::click()
{
    form().userAction(click_);
}

} // namespace tk
