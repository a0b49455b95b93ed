#pragma once

#include <QWidget>

namespace tk {

// A straight line between two points of its parent, drawn in a widget that covers just the line.
class LineWidget final : public QWidget
{
public:
    LineWidget(QWidget *parent, QPoint from, QPoint to, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint from_;
    QPoint to_;
    int width_;
};

} // namespace tk
