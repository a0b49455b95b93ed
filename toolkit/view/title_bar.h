#pragma once

class QWidget;

namespace tk {

// Gives the window a title bar of its own, for a compositor that leaves the windows' frames to them: the
// title, the icon, and the boxes that the window's flags ask for (close; minimize where asked), by which it
// is also moved. Qt's own frame there offers minimize and maximize on every window. The window's contents
// move down by the bar's height, and the window grows by as much.
void addTitleBar(QWidget &window);

} // namespace tk
