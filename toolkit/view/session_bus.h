#pragma once

namespace tk {

// Where the session has no bus, keeps Qt from having one started, from asking for the desktop portal and
// from warning that no bus runs. Called before Qt reads the environment.
void leaveAbsentSessionBusAlone();

} // namespace tk
