#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tk {

// A window's layout as data: what the windows' code declares. A form makes its controls from it, and the
// view's form builder its widgets. Positions and sizes are in twips (1/1440 inch), as stored; the builder
// alone converts them.

using Rgb = std::uint32_t; // 0xRRGGBB

enum class Kind { Label, CommandButton, CheckBox, Line, Shape, PictureBox, Image, Timer, MenuItem };
enum class Align { Left, Centre, Right };
enum class LineStyle { Solid, DashDot };
enum class Frame { FixedSingle, FixedDialog };

struct Font {
    const char *face;
    double points;
    bool bold = false;
};

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Segment {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

// One control. Fields that a row leaves out take the toolkit's defaults: visible, enabled, unchecked,
// left-aligned, in the standard colours and the default user-interface font, solid 1-pixel lines.
struct ControlLayout {
    Kind kind;
    const char *name;
    Box box{};
    Segment line{};
    const char *caption = "";
    std::optional<Font> font{};
    std::optional<Rgb> foreground{};
    std::optional<Rgb> background{};
    Align align = Align::Left;
    int tabIndex = -1;
    const char *container = nullptr; // the picture box that holds the control; none: the window
    bool visible = true;
    bool enabled = true;
    int value = 0;     // check boxes: 0 unchecked, 1 checked
    int interval = 0;  // timers, in milliseconds
    int lineWidth = 1; // lines and outlines, in pixels
    LineStyle lineStyle = LineStyle::Solid;
    const char *picture = nullptr; // images: a resource path
    // What a screen reader calls the control: this name, else the caption of the label named by `labelledBy`,
    // else the control's own caption.
    const char *accessibleName = nullptr;
    // Labels that show a value: what the value is. A screen reader reads the caption, as it is shown, and
    // gives this as its description.
    const char *description = nullptr;
    // The label beside or above the control that says what it is: its heading, for a screen reader.
    const char *labelledBy = nullptr;
    // Drawn, but says nothing: screen readers leave it out, as they do lines and outlines.
    bool decorative = false;
    // Labels: a change of the caption is told to screen readers as this text, "%1" standing for the caption;
    // changes made by one event are told together.
    const char *announcement = nullptr;
};

struct FormLayout {
    const char *name;
    const char *caption = "";
    int clientWidth = 0;
    int clientHeight = 0;
    Frame frame = Frame::FixedSingle;
    bool minimizeBox = false;
    bool inTaskBar = true;
    const char *icon = nullptr;           // a resource path; none: the window has no icon of its own
    const char *accessibleName = nullptr; // what screen readers call the window while its title is empty
    std::optional<Rgb> background{};
    std::span<const ControlLayout> controls;
};

} // namespace tk
