#include "label.h"

#include "accessibility.h"
#include "style.h"
#include "units.h"

#include <QLabel>

#include <algorithm>

namespace tk {

Label::Label(Form &form, const ControlLayout &layout, QLabel *widget)
    : BoxControl(form, layout, widget), label_(widget), caption_(QString::fromUtf8(layout.caption)),
      width_(pixels(layout.box.width)), announcement_(QString::fromUtf8(layout.announcement))
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
    fitWidth();
    if (!announcement_.isEmpty())
        announce(label_, announcement_.arg(caption_));
}

// A right-aligned value whose caption outgrows its box, as the hours of a call of more than four days do,
// widens to the left, into the room that its heading leaves, so that every digit shows.
void Label::fitWidth()
{
    if (!(label_->alignment() & Qt::AlignRight))
        return;
    const int text = label_->fontMetrics().horizontalAdvance(caption_) + label_->contentsMargins().left() +
                     label_->contentsMargins().right() + 2 * label_->margin();
    const int width = std::max(width_, text);
    if (width == label_->width())
        return;
    const int right = label_->x() + label_->width();
    label_->setGeometry(right - width, label_->y(), width, label_->height());
}

} // namespace tk
