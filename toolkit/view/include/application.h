#pragma once

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
    // Settles the environment before Qt reads it.
    struct Environment {
        Environment();
    };

    Environment environment_;
    std::unique_ptr<QApplication> qt_;
    SystemClock clock_;
    Program program_;
    Desktop desktop_;
    std::unique_ptr<DesktopSettingsReader> desktopSettings_;
};

// The program's name, as its user types it, and what it prints, on standard output, for --help (or -h) and
// for --version.
struct CommandLine {
    const char *name;
    const char *usage;
    const char *version;
};

// Answers a command line that asks for no window: --help, --version, or one that Qt's options do not
// explain, whose first mistake is named on standard error as typed. Returns the exit status then, and
// nothing when the program is to run. It is read before Qt starts, so a mistake is told whether or not there
// is a display.
std::optional<int> answerCommandLine(int argc, char **argv, const CommandLine &commandLine);

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
