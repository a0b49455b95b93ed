#pragma once

class QWidget;

namespace tk {

// Gives the window a title bar of its own, for a compositor that leaves the windows' frames to them, made
// to behave as the desktop's own: the title, the icon, and the boxes that both the window's flags and the
// desktop's button layout ask for (close, and minimize where the window has it: widgets named "close" and
// "minimize"), on the side that the layout puts them, following its changes. A left drag on the bar moves
// the window and a right click opens the compositor's window menu. Qt's own frame there would offer
// minimize and maximize on every window. The window's contents move down by the bar's height and in by a
// one-pixel outline around the window, and the window grows by as much.
void addTitleBar(QWidget &window);

} // namespace tk
