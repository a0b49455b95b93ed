#pragma once

#include "control.h"

#include <QString>

class QLabel;

namespace tk {

class Label final : public BoxControl
{
public:
    Label(Form &form, const ControlLayout &layout, QLabel *widget);

    const QString &caption() const { return caption_; }
    void setCaption(const QString &caption);

private:
    void updateWidget() override;
    void fitWidth();

    QLabel *label_;
    QString caption_;
    int width_; // in pixels, as laid out
    QString announcement_;
};

} // namespace tk
