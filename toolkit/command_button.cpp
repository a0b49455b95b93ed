#include "command_button.h"

#include "form.h"
#include "key_presses.h"
#include "program.h"

#include <QAbstractButton>

namespace tk {

CommandButton::CommandButton(Form &form, const ControlLayout &layout, QAbstractButton *widget)
    : Control(form, layout, widget)
{
    QObject::connect(widget, &QAbstractButton::clicked, widget,
                     [this] { this->form().program().dispatch(this->form(), click_); });
    new KeyPresses(widget, KeyPresses::Enter::Clicks);
}

} // namespace tk
