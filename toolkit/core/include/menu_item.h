#pragma once

#include "control.h"

namespace tk {

// A top-level entry of the window's menu bar, without a sub-menu.
class MenuItem final : public CommandControl
{
public:
    using CommandControl::CommandControl;
};

} // namespace tk
