#include "form_window.h"

#include <QCloseEvent>

namespace tk {

FormWindow::FormWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags) {}

FormWindow *FormWindow::of(QWidget *widget)
{
    return qobject_cast<FormWindow *>(widget);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

void FormWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        emit windowStateChanged();
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
    emit closed();
}

} // namespace tk

#include "moc_form_window.cpp"
