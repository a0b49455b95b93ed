#pragma once

#include <QWidget>

namespace tk {

class WindowView;

// The top-level widget of a form. Closing it through its frame, or its native window destroyed by another
// client of the window system, unloads the form without running any of its handlers.
class FormWindow final : public QWidget
{
public:
    FormWindow(WindowView &view, Qt::WindowFlags flags);

    // The form window that `widget` is; none if it is another widget.
    static FormWindow *of(QWidget *widget);

    void nativeWindowDestroyed();

    // The control that takes the focus first, in tab order; none if no control takes it.
    QWidget *firstTabStop() const { return firstTabStop_; }
    void setFirstTabStop(QWidget *control) { firstTabStop_ = control; }
    // The area below the menu bar that holds the controls.
    QWidget *client() const { return client_; }
    void setClient(QWidget *client) { client_ = client; }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    WindowView &view_;
    QWidget *firstTabStop_ = nullptr;
    QWidget *client_ = nullptr;
};

} // namespace tk
