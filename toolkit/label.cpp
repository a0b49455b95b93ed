#include "label.h"

#include "style.h"

#include <QAccessible>
#include <QLabel>

namespace tk {

Label::Label(Form &form, const ControlLayout &layout, QLabel *widget)
    : BoxControl(form, layout, widget), label_(widget), caption_(QString::fromUtf8(layout.caption))
{
    label_->setText(caption_);
    fitFont(*label_, caption_);
}

void Label::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    changed();
}

void Label::updateWidget()
{
    BoxControl::updateWidget();
    // A hidden label only holds a value and is never drawn: its widget is left alone, so that screen readers
    // do not hear of every change of a value that no one sees.
    const QString shown = label_->text();
    if (shown == caption_ || label_->isHidden())
        return;
    label_->setText(caption_);
    fitFont(*label_, caption_);
    // Qt tells screen readers of a new caption only for labels without a name of their own.
    if (!label_->accessibleName().isEmpty() && QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(label_, 0, shown, caption_);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace tk
