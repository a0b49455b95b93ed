#pragma once

#include <vector>

class QWidget;

namespace tk {

class Form;
class FormWindow;
class WindowView;

// Turns a form's layout into its top-level widget and a widget for each row, in stored order (none for timers
// and menu items), and connects the widgets' input to the form's controls.
FormWindow *buildForm(WindowView &view, Form &form, std::vector<QWidget *> &widgets);

} // namespace tk
