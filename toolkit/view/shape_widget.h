#pragma once

#include "layout.h"

#include <QWidget>

namespace tk {

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
