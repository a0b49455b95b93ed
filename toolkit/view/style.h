#pragma once

#include "layout.h"

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

namespace tk {

QColor colour(Rgb rgb);

// Sets the application's style, palette and font to the ones the layouts were drawn for; the palette follows
// the desktop's high contrast from then on.
void applyStandardLook();

// The colours and font that a layout gets where it names none.
QColor standardFace();
QColor standardText();
QFont font(const std::optional<Font> &font);

// The colours a layout names as the windows show them: their own, or, while the desktop asks for high
// contrast, the face in place of the silver that matches it, and ink of the same hue darkened or lightened
// until it reads at 7:1 on the ground it lies on. Where the layout names none, the standard ones.
QColor ground(std::optional<Rgb> named);
QColor ink(std::optional<Rgb> named, const QColor &ground);

// Lets a widget's text fall back to another face where its own face lacks some of its letters.
void fitFont(QWidget &widget, QStringView text);

} // namespace tk
