#pragma once

// The toolkit: the one layer that knows Qt's widgets and timers, the clock and the user's locale.
//
// A window is a Form: a layout table (layout.h) that buildForm turns into a top-level widget and named
// controls, and handlers that the window's own code binds to those controls' events. Handlers act only
// through control properties (a label's Caption and Top, a check box's Value, a timer's Enabled). A
// control keeps its properties itself. Captions, positions and the window's title reach the widgets after
// the handler has returned, so a burst of writes costs one widget update; a check box's state and a
// window's minimizing take effect at once, since the user's very next click depends on them.
//
// The Program owns the windows and delivers every event to them, one at a time. A window closed through its
// frame, or destroyed by another client of the window system (native_window.h), unloads its form, and the
// program ends with its last window. Timer ticks come from one Scheduler in due-time order; the Clock says
// what time it is (a monotonic count that includes suspended time, and the local date and time of any moment
// on it) and wakes the scheduler. The SystemClock wakes it from Qt's event loop; tests use a ManualClock
// (manual_clock.h, a library of its own) and advance it. A tick that falls due while the loop is held up is
// delivered late but never dropped, and while it runs the local time is the time it fell due.
//
// Numbers travel through captions as text in plain digits with the user's decimal separator, read once from
// the user's locale (number_text.h); dates are rendered with short patterns (date_text.h).
//
// Windows are drawn on Fusion in the classic silver palette (style.h), whatever the desktop's own style and
// theme. Pictures come with double-size renditions for scaled screens. A layout row may name its control for
// screen readers and point to the label that heads it; accessibility.h gives screen readers the windows as a
// sighted reader takes them in: named frames, read top to bottom and left to right, without what is hidden or
// mere decoration, values read with their headings.
//
// Application runs the whole on the real clock: tk::run<StartupWindow>(argc, argv, desktopFileName).

#include "application.h"
#include "check_box.h"
#include "clock.h"
#include "command_button.h"
#include "date_text.h"
#include "form.h"
#include "image.h"
#include "label.h"
#include "layout.h"
#include "menu_item.h"
#include "number_text.h"
#include "program.h"
#include "system_clock.h"
#include "timer.h"
