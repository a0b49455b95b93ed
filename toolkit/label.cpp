#include "label.h"

#include "accessibility.h"
#include "style.h"

#include <QLabel>

namespace tk {

Label::Label(Form &form, const ControlLayout &layout, QLabel *widget)
    : BoxControl(form, layout, widget), label_(widget), caption_(QString::fromUtf8(layout.caption)),
      announcement_(QString::fromUtf8(layout.announcement))
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
    if (!announcement_.isEmpty())
        announce(label_, announcement_.arg(caption_));
}

} // namespace tk
