#include "command_button.h"

#include "form.h"

namespace tk {

CommandButton::CommandButton(Form &form, const ControlLayout &layout, std::size_t index)
    : Control(form, layout, index)
{
}

void CommandButton::click()
{
    form().userAction(click_);
}

} // namespace tk
