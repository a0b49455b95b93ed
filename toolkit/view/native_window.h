#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>

#include <functional>
#include <optional>

class QPoint;
class QString;
class QWidget;

namespace tk {

// Creates the window's native counterpart before it is first shown. Where the window system would show the
// application's name in place of an empty title, the title is cleared, so that an empty title stays empty;
// the icon is named by the title.
// A window kept out of the task bar asks the window manager so before it is mapped.
void prepareNativeWindow(QWidget &window, const QString &caption, bool inTaskBar);

// Keeps a move of the focus inside a window from asking the compositor to activate the window, as Qt 6.4's
// Wayland platform does: a window that minimized itself meanwhile, as at Start, would come straight back.
void keepFocusMovesFromActivating();

// The frame that the window manager puts around the window, as it tells before the window is first mapped
// (left, top, right, bottom), in the window system's pixels, which are not Qt's where Qt scales. Nothing
// where no window manager tells it within a moment.
std::optional<QMargins> frameExtents(QWidget &window);

// The frame that the window manager last put around one of the program's windows, as it told after mapping
// it; none before.
QMargins lastFrameExtents();

// Calls `framed` with the frame's extents once the window manager has framed the window and told them, as
// one that cannot tell them before mapping (KWin) does after; once, or never where it does not tell them.
void whenFramed(QWidget &window, std::function<void(QMargins)> framed);

// Whether the window system frames the windows: X11's window managers do, and so do the Wayland compositors
// that offer to (KWin); the others (GNOME's mutter, weston) leave each window to draw its own frame.
bool windowSystemFramesWindows();

// Asks a Wayland compositor to open its own menu for the window (move, minimize, always on top, close...) at
// `position` in the window, for the mouse button just pressed. Nothing elsewhere: X11's window managers draw
// the title bars that offer it.
void showWindowMenu(QWidget &window, QPoint position);

// Names the window's icon, which stands for the window where a window manager shows minimized windows as
// icons.
void setIconName(QWidget &window, const QString &name);

// Asks the window manager to list a shown window in the task bar, or to keep it out.
void showInTaskBar(QWidget &window, bool shown);

// Notices, as Qt does not, when another client of the window system destroys one of the program's windows
// (the server tells every client of the destruction of its own windows): the window's form unloads as if
// closed through its frame, and its widget goes with it. Watches for as long as it lives, where the window
// system is X.
class DestroyedWindowWatch final : public QAbstractNativeEventFilter
{
public:
    DestroyedWindowWatch();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
};

} // namespace tk
