#pragma once

namespace tk {

// Where the session has no bus, keeps Qt from having one started and from asking for the desktop portal.
// Called before Qt reads the environment.
void leaveAbsentSessionBusAlone();

} // namespace tk
