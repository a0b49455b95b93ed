#pragma once

#include <QWidget>

namespace tk {

class Form;

// The top-level widget of a form. Closing it through its frame unloads the form without running any of
// its handlers.
class FormWindow final : public QWidget
{
public:
    explicit FormWindow(Form &form, Qt::WindowFlags flags);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Form &form_;
};

} // namespace tk
