#pragma once

#include "control.h"

namespace tk {

// A picture shown at its own size; the program moves it like a label.
class Image final : public BoxControl
{
public:
    using BoxControl::BoxControl;
};

} // namespace tk
