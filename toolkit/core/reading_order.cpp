#include "reading_order.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tk {

namespace {

// A unit of reading: an item, or an outline with the items inside it.
struct Unit {
    QRect box;
    std::vector<std::size_t> members;
};

std::vector<std::size_t> inReadingOrder(std::vector<Unit> units)
{
    const auto topFirst = [](const Unit &a, const Unit &b) {
        return std::pair(a.box.top(), a.box.left()) < std::pair(b.box.top(), b.box.left());
    };
    const auto leftFirst = [](const Unit &a, const Unit &b) {
        return std::pair(a.box.left(), a.box.top()) < std::pair(b.box.left(), b.box.top());
    };
    const auto sideBySide = [](const QRect &a, const QRect &b) {
        return (a.top() <= b.top() && b.bottom() <= a.bottom()) ||
               (b.top() <= a.top() && a.bottom() <= b.bottom());
    };
    std::sort(units.begin(), units.end(), topFirst);
    std::vector<std::size_t> ordered;
    for (auto row = units.begin(); row != units.end();) {
        QRect span = row->box;
        auto end = std::next(row);
        for (; end != units.end() && sideBySide(span, end->box); ++end)
            span |= end->box;
        std::sort(row, end, leftFirst);
        for (; row != end; ++row)
            ordered.insert(ordered.end(), row->members.begin(), row->members.end());
    }
    return ordered;
}

} // namespace

std::vector<std::size_t> readingOrder(std::span<const ReadingItem> items)
{
    std::vector<Unit> outlines;
    for (const ReadingItem &item : items) {
        if (item.outline)
            outlines.push_back({item.place, {}});
    }
    std::vector<Unit> units;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].outline)
            continue;
        const auto outline = std::find_if(outlines.begin(), outlines.end(), [&](const Unit &unit) {
            return unit.box.contains(items[i].place);
        });
        if (outline == outlines.end())
            units.push_back({items[i].place, {i}});
        else
            outline->members.push_back(i);
    }
    for (Unit &outline : outlines) {
        if (outline.members.empty())
            continue;
        std::vector<Unit> inside;
        for (const std::size_t member : outline.members)
            inside.push_back({items[member].place, {member}});
        outline.members = inReadingOrder(std::move(inside));
        units.push_back(std::move(outline));
    }
    return inReadingOrder(std::move(units));
}

bool inView(const QRect &box, const QRect &area)
{
    return box.intersects(area);
}

} // namespace tk
