#include "form_window.h"

#include "window_view.h"

#include <QCloseEvent>

namespace tk {

FormWindow::FormWindow(WindowView &view, Qt::WindowFlags flags) : QWidget(nullptr, flags), view_(view) {}

FormWindow *FormWindow::of(QWidget *widget)
{
    return dynamic_cast<FormWindow *>(widget);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    view_.windowClosed();
}

void FormWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        view_.windowStateChanged();
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
    view_.windowClosed();
}

} // namespace tk
