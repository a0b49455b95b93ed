#pragma once

#include "control.h"

namespace tk {

class CommandButton final : public CommandControl
{
public:
    using CommandControl::CommandControl;
};

} // namespace tk
