#pragma once

#include <memory>

class QApplication;

namespace tk {

// Starts Qt's widget application. Where no display can be opened, the program says so in one line on
// standard error, opened by `name` and naming the display it looked for, and ends with status 1.
std::unique_ptr<QApplication> startQtOnDisplay(int &argc, char **argv, const char *name);

} // namespace tk
