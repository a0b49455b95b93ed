#pragma once

#include "layout.h"

#include <QColor>
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

// A rectangle outline drawn inside its box; the inside stays transparent.
class ShapeWidget final : public QWidget
{
public:
    ShapeWidget(int width, LineStyle style);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int width_;
    LineStyle style_;
};

} // namespace tk
