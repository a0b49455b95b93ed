#pragma once

#include "control.h"

#include <functional>

class QAbstractButton;

namespace tk {

class CommandButton final : public Control
{
public:
    CommandButton(Form &form, const ControlLayout &layout, QAbstractButton *widget);

    void onClick(std::function<void()> handler) { click_ = std::move(handler); }

private:
    std::function<void()> click_;
};

} // namespace tk
