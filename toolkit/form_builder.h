#pragma once

#include "control.h"
#include "layout.h"

#include <memory_resource>
#include <vector>

class QWidget;

namespace tk {

class Form;

// Turns a window's layout into its top-level widget and its controls, one control per row, in stored order;
// the controls are made in `memory`.
QWidget *buildForm(Form &form, const FormLayout &layout, std::pmr::memory_resource &memory,
                   std::vector<OwnedControl> &controls);

} // namespace tk
