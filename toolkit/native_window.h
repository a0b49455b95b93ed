#pragma once

class QString;
class QWidget;

namespace tk
{

// Creates the window's native counterpart before it is first shown. Where the window system would show the
// application's name in place of an empty title, the title is cleared, so that an empty title stays empty.
void prepareNativeWindow(QWidget &window, const QString &caption);

} // namespace tk
