#pragma once

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
// Each container lists what it holds as a sighted reader takes it in: top to bottom, side by side left to
// right, the contents of an outline together; hidden value holders, lines, outlines, decoration and the
// labels that name a check box (read as its name) are left out, and so is a control scrolled out of its
// container's view, until it comes back into view: a screen reader remembers that it was not showing, but not
// that it was not visible either, as Qt tells it when the control is queried there. Safe to call repeatedly.
void installAccessibility();

// The window is called `untitledName` while its title is empty. A change of its name reaches screen readers
// just before the window becomes active, not each time the title changes: they read out every name change
// of the active window, and a running call changes the main window's title every second.
void nameWindow(QWidget *window, const QString &untitledName);

// Sets the window's title without telling screen readers, which Qt 6.8 and later would do; nameWindow() tells
// them.
void setUnannouncedTitle(QWidget *window, const QString &title);

// Screen readers read out the message, in the widget's window, once the current event is over and the window
// is active; the messages of one event are read as one, the latest of each widget only.
void announce(QWidget *widget, const QString &message);

// Where the layout places the widget: screen readers read it in that place among the others, however far
// it scrolls.
void setReadingPlace(QWidget *widget, const QRect &place);

// Screen readers leave the widget out: it is drawn, but says nothing.
void setDecorative(QWidget *widget);

// The label says what the control is; a screen reader takes it for the control's heading, and the control
// for what the label labels.
void setLabelledBy(QWidget *control, QLabel *label);

// After a command chosen from the menu bar, screen readers hear that the focus is back where it was: Qt
// tells them of the menu item when it is chosen, but not that the focus never left its widget.
void returnFocusAfterCommands(QMenuBar *menuBar);

// The widget has moved from `from` within its container; screen readers hear if it came into view or left it.
void reportMove(QWidget *widget, const QRect &from);

} // namespace tk
