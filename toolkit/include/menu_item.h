#pragma once

#include "control.h"

#include <functional>

class QAction;

namespace tk {

// A top-level entry of the window's menu bar, without a sub-menu: choosing it runs its handler at once.
class MenuItem final : public Control
{
public:
    MenuItem(Form &form, const ControlLayout &layout, QAction *action);

    void onClick(std::function<void()> handler) { click_ = std::move(handler); }

private:
    std::function<void()> click_;
};

} // namespace tk
