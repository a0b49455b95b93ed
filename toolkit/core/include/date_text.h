#pragma once

#include "local_time.h"

#include <QString>

namespace tk {

// Renders a date and time with a pattern of d, dd, dddd (the weekday's name in the user's date setting), m,
// mm (the month), yyyy and h (the hour, 0 to 23), in plain digits; dots and slashes stand for themselves.
QString dateText(LocalMoment moment, QStringView pattern);

} // namespace tk
