#include "application.h"

#include <sys/stat.h>

namespace tk {

// Where no session bus runs, Qt's search for an accessibility bus would have the D-Bus library start one
// ("dbus-launch --autolaunch": a daemon that listens on a socket, and a file under ~/.dbus). The program
// starts nothing and writes nothing, so it leaves the bus alone unless the session has one.
Application::Environment::Environment()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat bus {
    };
    if (!runtime.isEmpty() && stat((runtime + "/bus").constData(), &bus) == 0 && S_ISSOCK(bus.st_mode))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

Application::Application(int &argc, char **argv, const char *desktopFileName)
    : qt_(argc, argv), program_(clock_)
{
    // Lets the desktop match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopFileName));
    program_.setEndHandler([] { QCoreApplication::quit(); });
}

int Application::exec()
{
    return QApplication::exec();
}

} // namespace tk
