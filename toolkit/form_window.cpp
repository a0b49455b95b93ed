#include "form_window.h"

#include "form.h"

#include <QCloseEvent>

namespace tk {

FormWindow::FormWindow(Form &form, Qt::WindowFlags flags) : QWidget(nullptr, flags), form_(form) {}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (form_.loaded())
        form_.unload();
}

} // namespace tk
