#pragma once

#include "command_line.h"
#include "desktop.h"
#include "program.h"
#include "system_clock.h"

#include <memory>
#include <optional>

class QApplication;

namespace tk {

class DesktopSettingsReader;

// The running program on the real clock: Qt's application, the clock, the Program and the Desktop that
// shows its forms, set up for a desktop session, whose settings it reads and follows without waiting for
// them. It ends when the Program ends.
class Application
{
public:
    // `name` is the program's, as its user types it: it opens what the program says on standard error.
    Application(int &argc, char **argv, const char *desktopFileName, const char *name);
    ~Application();

    Program &program() { return program_; }
    int exec();

private:
    std::unique_ptr<QApplication> qt_;
    SystemClock clock_;
    Program program_;
    Desktop desktop_;
    std::unique_ptr<DesktopSettingsReader> desktopSettings_;
};

// Runs a program whose startup window is F until it ends, and returns its exit status.
template <class F>
int run(int &argc, char **argv, const char *desktopFileName, const CommandLine &commandLine)
{
    if (const std::optional<int> status = answerCommandLine(argc, argv, commandLine))
        return *status;
    Application application(argc, argv, desktopFileName, commandLine.name);
    application.program().show<F>();
    return application.exec();
}

} // namespace tk
