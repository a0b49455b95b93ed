#include "label.h"

#include <QLabel>

namespace tk
{

Label::Label(Form &form, const ControlLayout &layout, QLabel *widget)
    : BoxControl(form, layout, widget), label_(widget), caption_(QString::fromUtf8(layout.caption))
{
    label_->setText(caption_);
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
    label_->setText(caption_);
}

} // namespace tk
