#pragma once

#include "control.h"

class QCheckBox;

namespace tk {

// `Value` is 0 (unchecked) or 1 (checked); the user's clicks toggle it while the box is enabled.
class CheckBox final : public Control
{
public:
    CheckBox(Form &form, const ControlLayout &layout, QCheckBox *widget);

    int value() const { return value_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

private:
    QCheckBox *box_;
    int value_;
    bool enabled_;
};

} // namespace tk
