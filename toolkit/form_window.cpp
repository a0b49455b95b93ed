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

void FormWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        form_.windowStateChanged();
}

// The focus frame shows from the start, not only after the first Tab, as Qt would have it: a keyboard user
// must see where the focus is.
bool FormWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        setAttribute(Qt::WA_KeyboardFocusChange);
    return QWidget::event(event);
}

// The form goes with its native window; shown again, it is a new form with a new window.
void FormWindow::nativeWindowDestroyed()
{
    if (form_.loaded())
        form_.unload();
}

} // namespace tk
