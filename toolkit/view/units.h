#pragma once

#include <cmath>

namespace tk {

// Layouts are stored in twips and points for a 96-dpi screen; widgets take logical pixels. High-DPI
// scaling then works on logical pixels as it does for any Qt program.
constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return twips / twipsPerPixel;
}

inline int pixels(float twips)
{
    return static_cast<int>(std::floor(twips / float(twipsPerPixel)));
}

inline int fontPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

} // namespace tk
