#include "key_presses.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace tk {

KeyPresses::KeyPresses(QAbstractButton *button, Enter enter) : QObject(button), button_(button), enter_(enter)
{
    button->installEventFilter(this);
}

// X repeats a held key as a release and a press of the same moment. Qt flags both as repeats only if it has
// already read the press when it handles the release, and a control that takes the focus while a key is
// held gets such a pair first; so the press of a pair counts as a repeat whatever Qt says.
bool KeyPresses::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = enter_ == Enter::Clicks &&
                       (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       !(key->modifiers() & ~Qt::KeypadModifier);
    if (!enter && key->key() != Qt::Key_Space)
        return false;
    if (event->type() == QEvent::KeyRelease) {
        released_ = {key->key(), key->timestamp()};
        return false;
    }
    // Key events made within the program carry no time.
    const bool repeat = key->isAutoRepeat() ||
                        (key->timestamp() != 0 && released_ == std::pair(key->key(), key->timestamp()));
    if (enter && !repeat)
        button_->click();
    return enter || repeat;
}

} // namespace tk
