#pragma once

// The toolkit's core: the program, its windows' state and its time, on Qt Core alone. The windows' code
// sees only this; what shows the windows on the screen (the toolkit's view, application.h) is built on it,
// and nothing here knows of it.
//
// A window is a Form: a layout table (layout.h) of named controls, and handlers that the window's own code
// binds to those controls' events. Handlers act only through control properties (a label's Caption and
// Top, a check box's Value, a timer's Enabled). A control keeps its properties itself.
//
// Each form may have a view (form_view.h), which the Program's view maker makes as the form is made. The
// form and its controls tell it of changes: captions, positions and the window's title once the event loop
// turns, so that a burst of writes costs one update (mirror.h); a check box's enabled state and a window's
// minimizing at once, since the user's very next click depends on them. The view hands the user's clicks to
// the controls. Without a view a form runs unseen, as the tests of metering and scheduling run it; the tests
// of the windows' code give each form a view that only records what it is told.
//
// A form and its controls see the program only through a FormHost (form_host.h): it runs a user's action in
// its turn, unloads a form, tells the time, lends its scheduler to the timers, takes note of changes for the
// views and makes a form's view. The Program is the FormHost; window code that opens or ends windows is
// handed the Program itself. The Program owns the windows and delivers every event to them, one at a time. A
// window closed unloads its form, and the program ends with its last window. Timer ticks come from one
// Scheduler in due-time order; the Clock says what time it is (a monotonic count that includes suspended
// time, and the local date and time of any moment on it) and wakes the scheduler. The SystemClock wakes it
// from Qt's event loop; tests use a ManualClock (manual_clock.h, a library of its own) and advance it. A tick
// that falls due while the loop is held up is delivered late but never dropped, and while it runs the local
// time is the time it fell due.
//
// The path of a tick: the clock wakes the Program's EventDelivery (event_delivery.h), which asks the
// Scheduler for every tick due; each runs its Timer's handler, which writes properties; their controls are
// marked changed, and once the event loop turns, the Program's DeferredFlush (deferred_flush.h) tells each
// one's view. The Program keeps its windows in a WindowRegistry (window_registry.h). The path of a click: the
// view hands it to the control (CommandControl::click), the control to the Program (FormHost::dispatch),
// whose EventDelivery queues it in the Scheduler by the moment it was given and runs it after every tick due
// before it.
//
// Numbers travel through captions as text in plain digits with the user's decimal separator, read once from
// the user's locale (number_text.h); dates are rendered with short patterns (date_text.h).
//
// The order in which a sighted reader takes in a window's items is plain geometry and lives here too
// (reading_order.h): the view reads the windows to screen readers in it.

#include "check_box.h"
#include "clock.h"
#include "command_button.h"
#include "date_text.h"
#include "form.h"
#include "form_host.h"
#include "image.h"
#include "label.h"
#include "layout.h"
#include "menu_item.h"
#include "number_text.h"
#include "program.h"
#include "timer.h"
