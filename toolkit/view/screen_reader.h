#pragma once

#include "layout.h"

#include <span>

class QLabel;
class QMenuBar;
class QRect;
class QString;
class QWidget;

namespace tk {

// What screen readers make of the windows that the form builder makes. A window is a frame (a dialog box a
// dialog) named by its title, or by a name of its own while it has none; a picture box is a panel; a label
// reads out its caption as shown, with what it means as its description, and a picture is named for what it
// shows.
// Each container lists what it holds in reading order (reading_order.h); hidden value holders, lines,
// outlines, decoration and the labels that name a check box (read as its name) are left out, and so is a
// control scrolled out of its container's view, until it comes back into view: a screen reader remembers that
// it was not showing, but not that it was not visible either, as Qt tells it when the control is queried
// there. Installed once, at start-up; safe to install again.
void installScreenReaderSupport();

// What a screen reader calls the control of `row`: the row's own name for it, else the caption of the label
// that labels it, without the colon that ends it on the screen; empty where Qt's own name will do. Set before
// the widget shows any text: Qt settles how a screen reader sees a widget when it first reports a change.
QString accessibleName(const FormLayout &layout, const ControlLayout &row);

// Tells screen readers which label heads which control: `widgets` are the layout's, row by row, every one
// made, as a label may come before or after the control it labels.
void linkLabels(const FormLayout &layout, std::span<QWidget *const> widgets);

// Where the layout places the widget: screen readers read it in that place among the others, however far
// it scrolls.
void setReadingPlace(QWidget *widget, const QRect &place);

// Screen readers leave the widget out: it is drawn, but says nothing.
void setDecorative(QWidget *widget);

// After a command chosen from the menu bar, screen readers hear that the focus is back where it was: Qt
// tells them of the menu item when it is chosen, but not that the focus never left its widget.
void returnFocusAfterCommands(QMenuBar *menuBar);

// Whether the widget, at `geometry`, shows in its container's area; a window always does.
bool inContainerView(const QWidget &widget, const QRect &geometry);

// The widget has moved from `from` within its container; screen readers hear if it came into view or left it.
void reportMove(QWidget *widget, const QRect &from);

} // namespace tk
