#pragma once

#include <vector>

class QWidget;

namespace tk {

class Form;
class FormWindow;
struct FormLayout;

// Turns a form's layout into its top-level widget and a widget for each row, in stored order (none for timers
// and menu items), and connects the widgets' input to the form's controls.
FormWindow *buildForm(Form &form, std::vector<QWidget *> &widgets);

// Gives the window and the controls the colours that the layout names, as the desktop's contrast has them
// shown (style.h); again whenever that changes.
void colourForm(FormWindow &window, const FormLayout &layout, const std::vector<QWidget *> &widgets);

} // namespace tk
