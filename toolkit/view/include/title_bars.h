#pragma once

namespace tk {

// Where the windows' title bars come from: the window system's frame where it draws one, else a title bar
// of the window's own (title_bar.h), as on a compositor that leaves the frames to the windows; or always the
// window's own, so that it can be tried on any platform.
enum class TitleBars { WhereNeeded, OwnAlways };

} // namespace tk
