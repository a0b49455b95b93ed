#include "menu_item.h"

#include "form.h"

namespace tk {

MenuItem::MenuItem(Form &form, const ControlLayout &layout, std::size_t index) : Control(form, layout, index)
{
}

void MenuItem::click()
{
    form().userAction(click_);
}

} // namespace tk
