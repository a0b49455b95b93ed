#pragma once

#include <QWidget>

namespace tk {

class Form;

// The top-level widget of a form. Closing it through its frame, or its native window destroyed by another
// client of the window system, unloads the form without running any of its handlers.
class FormWindow final : public QWidget
{
public:
    explicit FormWindow(Form &form, Qt::WindowFlags flags);

    void nativeWindowDestroyed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Form &form_;
};

} // namespace tk
