#include "application.h"

#include <QApplication>

#include <filesystem>
#include <system_error>

namespace tk {

// Where no session bus runs, Qt's search for an accessibility bus would have the D-Bus library start one
// ("dbus-launch --autolaunch": a daemon that listens on a socket, and a file under ~/.dbus). The program
// starts nothing and writes nothing, so it leaves the bus alone unless the session has one. Nor does Qt
// then ask for the desktop portal: from Qt 6.8 on, the question, unanswered, would be left behind unfreed.
Application::Environment::Environment()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    std::error_code unreadable;
    if (!runtime.isEmpty() &&
        std::filesystem::is_socket(std::filesystem::path(runtime.constData()) / "bus", unreadable))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    qputenv("QT_NO_XDG_DESKTOP_PORTAL", "1");
}

Application::Application(int &argc, char **argv, const char *desktopFileName)
    : qt_(std::make_unique<QApplication>(argc, argv)), program_(clock_)
{
    // Lets the desktop match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopFileName));
    // Qt puts the application's name in the place of an empty window title (QPlatformWindow's
    // formatWindowTitle, which Wayland's and X11's windows use) unless a display name is set. An empty
    // display name adds nothing to a title, and leaves a window without one (a null title, as Form passes)
    // untitled.
    QGuiApplication::setApplicationDisplayName(QLatin1String(""));
    program_.setEndHandler([] { QCoreApplication::quit(); });
}

Application::~Application() = default;

int Application::exec()
{
    return QApplication::exec();
}

} // namespace tk
