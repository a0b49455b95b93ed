#include "check_box.h"

#include <QCheckBox>

namespace tk {

CheckBox::CheckBox(Form &form, const ControlLayout &layout, QCheckBox *widget)
    : Control(form, layout, widget), box_(widget), value_(layout.value), enabled_(layout.enabled)
{
    box_->setChecked(value_ == 1);
    box_->setEnabled(enabled_);
    QObject::connect(box_, &QCheckBox::toggled, box_, [this](bool checked) { value_ = checked ? 1 : 0; });
}

// Applied to the widget at once: a disabled box must ignore the very next click.
void CheckBox::setEnabled(bool enabled)
{
    enabled_ = enabled;
    box_->setEnabled(enabled);
}

} // namespace tk
