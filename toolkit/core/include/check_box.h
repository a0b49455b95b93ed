#pragma once

#include "control.h"

namespace tk {

// `Value` is 0 (unchecked) or 1 (checked); the user's clicks toggle it while the box is enabled.
class CheckBox final : public Control
{
public:
    CheckBox(const ControlSite &site, const ControlLayout &layout, std::size_t index);

    int value() const { return value_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The user clicked the box.
    void click();

private:
    int value_;
    bool enabled_;
};

} // namespace tk
