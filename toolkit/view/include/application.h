#pragma once

#include "desktop.h"
#include "program.h"
#include "system_clock.h"

#include <memory>

class QApplication;

namespace tk {

// The running program on the real clock: Qt's application, the clock, the Program and the Desktop that
// shows its forms, set up for a desktop session. It ends when the Program ends.
class Application
{
public:
    Application(int &argc, char **argv, const char *desktopFileName);
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
};

// Runs a program whose startup window is F until it ends, and returns its exit status.
template <class F> int run(int &argc, char **argv, const char *desktopFileName)
{
    Application application(argc, argv, desktopFileName);
    application.program().show<F>();
    return application.exec();
}

} // namespace tk
