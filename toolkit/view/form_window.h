#pragma once

#include <QWidget>

namespace tk {

// The top-level widget of a form. It tells whoever shows the form when it is closed through its frame, or
// its native window destroyed by another client of the window system, and when the window system minimizes
// or restores it.
class FormWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit FormWindow(Qt::WindowFlags flags);

    // The form window that `widget` is; none if it is another widget.
    static FormWindow *of(QWidget *widget);

    void nativeWindowDestroyed();

    // The control that takes the focus first, in tab order; none if no control takes it.
    QWidget *firstTabStop() const { return firstTabStop_; }
    void setFirstTabStop(QWidget *control) { firstTabStop_ = control; }
    // The area below the menu bar that holds the controls.
    QWidget *client() const { return client_; }
    void setClient(QWidget *client) { client_ = client; }

signals:
    void closed();
    void windowStateChanged();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QWidget *firstTabStop_ = nullptr;
    QWidget *client_ = nullptr;
};

} // namespace tk
