#pragma once

#include "title_bars.h"

#include <memory>

class QWidget;

namespace tk {

class Control;
class DestroyedWindowWatch;
class Form;
class Program;

// The toolkit's view: shows a program's forms on the desktop as windows of Qt widgets, for as long as it
// lives. Each form gets a WindowView (window_view.h), whose window and widgets the form builder
// (form_builder.h) makes from the form's layout; the view follows the form's properties as the form and its
// controls tell of changes, the widgets hand the user's clicks to the controls, and the window
// (form_window.h) tells the view by signals when it is closed, minimized or restored. The windows are drawn
// on Fusion in the classic silver palette (style.h), whatever the desktop's own style and theme, or, while
// the desktop asks for high contrast (desktop_settings.h), in shades of the layouts' colours that read at
// 7:1; pictures come with double-size renditions for scaled screens (pictures.h). Screen readers get the
// windows as a sighted reader takes them in (screen_reader.h, in the core's reading order, reading_order.h)
// and hear announcements of changing values (announcements.h). The window manager is asked, where it is X's,
// for what Qt does not ask it (native_window.h); where a Wayland compositor leaves the frames to the windows,
// each draws a title bar of its own (title_bar.h), or does wherever the Desktop is asked to (title_bars.h).
// What the desktop's settings ask of the windows (desktop_settings.h) the Application reads and follows
// without waiting for it (desktop_settings_reader.h). The Application (application.h) starts the program: the
// command line is answered before Qt starts, with the name and texts that the program's entry hands in
// (command_line.h), a session without a bus is kept from having one started and Qt's themes from warning of
// it (session_bus.h), and a display that cannot be opened is told in one line (no_display_report.h).

// Made before the program's first form; needs Qt's widget application.
class Desktop
{
public:
    explicit Desktop(Program &program, TitleBars titleBars = TitleBars::WhereNeeded);
    ~Desktop();
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

private:
    std::unique_ptr<DestroyedWindowWatch> destroyedWindows_;
};

// The widgets that show a form and one of its controls; none where the form has no view, and none for a
// timer or a menu item.
QWidget *windowOf(const Form &form);
QWidget *widgetOf(const Control &control);

} // namespace tk
