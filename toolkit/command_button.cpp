#include "command_button.h"

#include "form.h"
#include "program.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace tk {

namespace {

// Enter presses the button in focus as Space does; Qt leaves Enter to a dialog's default button.
class EnterPresses final : public QObject
{
public:
    explicit EnterPresses(QAbstractButton *button) : QObject(button), button_(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
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

private:
    QAbstractButton *button_;
};

} // namespace

CommandButton::CommandButton(Form &form, const ControlLayout &layout, QAbstractButton *widget)
    : Control(form, layout, widget)
{
    QObject::connect(widget, &QAbstractButton::clicked, widget,
                     [this] { this->form().program().dispatch(this->form(), click_); });
    new EnterPresses(widget);
}

} // namespace tk
