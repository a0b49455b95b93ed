#include "control.h"

#include "accessibility.h"
#include "form.h"
#include "units.h"

#include <QWidget>

#include <algorithm>

namespace tk {

Control::Control(Form &form, const ControlLayout &layout, QWidget *widget)
    : Mirror(form.program()), form_(form), name_(layout.name), widget_(widget)
{
}

BoxControl::BoxControl(Form &form, const ControlLayout &layout, QWidget *widget)
    : Control(form, layout, widget), top_(float(layout.box.top))
{
}

void BoxControl::updateWidget()
{
    QWidget *box = widget();
    const float height = float(box->height() * twipsPerPixel);
    const float below = float((box->parentWidget()->height() + 1) * twipsPerPixel);
    const QRect from = box->geometry();
    box->move(box->x(), pixels(std::clamp(top_, -height - twipsPerPixel, below)));
    reportMove(box, from);
}

} // namespace tk
