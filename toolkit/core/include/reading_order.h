#pragma once

#include <QRect>

#include <cstddef>
#include <span>
#include <vector>

namespace tk {

// Where a thing to be read lies in its container; an outline reads as one with what lies inside it.
struct ReadingItem {
    QRect place;
    bool outline = false;
};

// The order in which a sighted reader takes in the items that are not outlines, as indices into `items`:
// top to bottom; items side by side, one spanning the other's height, form a row read left to right; what
// lies inside an outline is read together, in its own reading order, where the outline lies. An item inside
// two outlines belongs to the first of them.
std::vector<std::size_t> readingOrder(std::span<const ReadingItem> items);

// Whether a box shows, at least in part, in its container's area.
bool inView(const QRect &box, const QRect &area);

} // namespace tk
