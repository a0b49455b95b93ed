#pragma once

#include <QObject>

class QAbstractButton;

namespace tk {

// Enter presses the button in focus as Space does; Qt leaves Enter to a dialog's default button. Owned by the
// button.
class EnterPresses final : public QObject
{
public:
    explicit EnterPresses(QAbstractButton *button);

protected:
    bool eventFilter(QObject *, QEvent *event) override;

private:
    QAbstractButton *button_;
};

} // namespace tk
