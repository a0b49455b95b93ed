#include "menu_item.h"

#include "form.h"
#include "program.h"

#include <QAction>

namespace tk {

MenuItem::MenuItem(Form &form, const ControlLayout &layout, QAction *action) : Control(form, layout, nullptr)
{
    QObject::connect(action, &QAction::triggered, action,
                     [this] { this->form().program().dispatch(this->form(), click_); });
}

} // namespace tk
