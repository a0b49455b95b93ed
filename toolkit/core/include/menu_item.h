#pragma once

#include "control.h"

#include <functional>

namespace tk {

// A top-level entry of the window's menu bar, without a sub-menu: choosing it runs its handler in its turn
// among the form's events.
class MenuItem final : public Control
{
public:
    MenuItem(Form &form, const ControlLayout &layout, std::size_t index);

    void onClick(std::function<void()> handler) { click_ = std::move(handler); }

    // The user chose the item.
    void click();

private:
    std::function<void()> click_;
};

} // namespace tk
