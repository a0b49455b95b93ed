#include "check_box.h"

#include "form_window.h"
#include "key_presses.h"

#include <QCheckBox>

namespace tk {

CheckBox::CheckBox(Form &form, const ControlLayout &layout, QCheckBox *widget)
    : Control(form, layout, widget), box_(widget), value_(layout.value), enabled_(layout.enabled)
{
    box_->setChecked(value_ == 1);
    box_->setEnabled(enabled_);
    QObject::connect(box_, &QCheckBox::toggled, box_, [this](bool checked) { value_ = checked ? 1 : 0; });
    new KeyPresses(box_, KeyPresses::Enter::Passes);
}

// Applied to the widget at once: a disabled box must ignore the very next click. A box disabled in focus
// hands the focus to the window's first control, not to the next one, which Qt would choose: a Space meant
// for the button just pressed would tick or untick that one unseen.
void CheckBox::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (auto *window = dynamic_cast<FormWindow *>(box_->window());
        !enabled && box_->hasFocus() && window && window->firstTabStop() && window->firstTabStop() != box_)
        window->firstTabStop()->setFocus(Qt::OtherFocusReason);
    box_->setEnabled(enabled);
}

} // namespace tk
