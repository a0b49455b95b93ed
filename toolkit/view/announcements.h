#pragma once

#include <QWidget>

class QString;

namespace tk {

// What a window tells screen readers of itself beyond what Qt tells them: its name, held while its title
// changes, and announcements of values as they change.

// The window is called `untitledName` while its title is empty. A change of its name is never told: screen
// readers read out every name change of the active window, and a running call changes the main window's
// title every second. They read the name as it is when the window becomes active again; a change told just
// before, which a screen reader may take up only after the activation, would be heard once more, and by
// then out of date.
void nameWindow(QWidget *window, const QString &untitledName);

// Sets the window's title without telling screen readers, which Qt would do for a window without an untitled
// name.
void setUnannouncedTitle(QWidget *window, const QString &title);

// What screen readers call the window: while its title changes unannounced, the name it had; else its title,
// or the name it has while untitled.
QString windowName(const QWidget &window);

// Screen readers read out the message, in the widget's window, once the current event is over and the window
// is active; the messages of one event are read as one, the latest of each widget only.
void announce(QWidget *widget, const QString &message);

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// Where Qt has no announcements, a notice of the window: a notification that screen readers read out by its
// name when it shows. It never shows on the screen. Each message has a notice of its own: a screen reader
// reads the name when it gets to the event, and a later message must not take the earlier one's place.
class Notice final : public QWidget
{
public:
    Notice(QWidget *window, const QString &text) : QWidget(window), message(text) { hide(); }
    const QString message;
};
#endif

} // namespace tk
