#include "enter_presses.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace tk {

EnterPresses::EnterPresses(QAbstractButton *button) : QObject(button), button_(button)
{
    button->installEventFilter(this);
}

bool EnterPresses::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        key->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (!key->isAutoRepeat())
        button_->click();
    return true;
}

} // namespace tk
