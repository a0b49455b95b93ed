#pragma once

#include <QObject>

#include <utility>

class QAbstractButton;

namespace tk {

// Lets a button or check box act on Space, and a button on Enter as well, only for a press that began while
// it had the focus: a key held down on the button that opened or closed a window, or on a control that had
// the focus before, does nothing here. Qt leaves Enter to a dialog's default button.
class KeyPresses final : public QObject
{
public:
    enum class Enter { Clicks, Passes };

    KeyPresses(QAbstractButton *button, Enter enter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *button_;
    Enter enter_;
    std::pair<int, quint64> released_;
};

} // namespace tk
