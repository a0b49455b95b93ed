#pragma once

#include "control.h"
#include "layout.h"

#include <memory>
#include <vector>

class QWidget;

namespace tk {

class Form;

// Turns a window's layout into its top-level widget and its controls, one control per row, in stored order.
QWidget *buildForm(Form &form, const FormLayout &layout, std::vector<std::unique_ptr<Control>> &controls);

} // namespace tk
