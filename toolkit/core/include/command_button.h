#pragma once

#include "control.h"

#include <functional>

namespace tk {

class CommandButton final : public Control
{
public:
    CommandButton(Form &form, const ControlLayout &layout, std::size_t index);

    void onClick(std::function<void()> handler) { click_ = std::move(handler); }

    // The user clicked the button: its handler runs in its turn among the form's events.
    void click();

private:
    std::function<void()> click_;
};

} // namespace tk
