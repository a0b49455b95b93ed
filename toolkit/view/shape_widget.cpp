#include "shape_widget.h"

#include <QPainter>

namespace tk {

ShapeWidget::ShapeWidget(int width, LineStyle style) : width_(width), style_(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::WindowText);
    if (style_ == LineStyle::DashDot) {
        painter.setPen(QPen(colour, 1, Qt::DashDotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    const QRect box = rect();
    painter.fillRect(box.left(), box.top(), box.width(), width_, colour);
    painter.fillRect(box.left(), box.bottom() - width_ + 1, box.width(), width_, colour);
    painter.fillRect(box.left(), box.top(), width_, box.height(), colour);
    painter.fillRect(box.right() - width_ + 1, box.top(), width_, box.height(), colour);
}

} // namespace tk
