#pragma once

#include "layout.h"

#include <QColor>
#include <QFont>

#include <optional>

namespace tk {

QColor colour(Rgb rgb);

// Sets the application's palette and font to the ones the layouts were drawn for.
void applyStandardLook();

// The colours and font that a layout gets where it names none.
QColor standardFace();
QColor standardText();
QFont font(const std::optional<Font> &font);

} // namespace tk
