#pragma once

#include "layout.h"

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

namespace tk {

QColor colour(Rgb rgb);

// Sets the application's palette and font to the ones the layouts were drawn for.
void applyStandardLook();

// The colours and font that a layout gets where it names none.
QColor standardFace();
QColor standardText();
QFont font(const std::optional<Font> &font);

// Lets a widget's text fall back to another face where its own face lacks some of its letters.
void fitFont(QWidget &widget, QStringView text);

} // namespace tk
