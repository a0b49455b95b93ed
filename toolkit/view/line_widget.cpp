#include "line_widget.h"

#include <QPainter>

namespace tk {

LineWidget::LineWidget(QWidget *parent, QPoint from, QPoint to, int width) : QWidget(parent), width_(width)
{
    const QRect bounds = QRect(from, to).normalized().adjusted(-width, -width, width, width);
    setGeometry(bounds);
    from_ = from - bounds.topLeft();
    to_ = to - bounds.topLeft();
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), width_, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from_, to_);
}

} // namespace tk
