#include "label.h"

namespace tk {

Label::Label(const ControlSite &site, const ControlLayout &layout, std::size_t index)
    : BoxControl(site, layout, index), caption_(QString::fromUtf8(layout.caption))
{
}

void Label::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    changed();
}

} // namespace tk
