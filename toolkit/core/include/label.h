#pragma once

#include "control.h"

#include <QString>

namespace tk {

class Label final : public BoxControl
{
public:
    Label(const ControlSite &site, const ControlLayout &layout, std::size_t index);

    const QString &caption() const { return caption_; }
    void setCaption(const QString &caption);

private:
    QString caption_;
};

} // namespace tk
