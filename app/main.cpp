#include <form1.h>

#include <QApplication>

#include <sys/stat.h>

namespace {

// Where no session bus runs, Qt's search for an accessibility bus would have the D-Bus library start one
// ("dbus-launch --autolaunch": a daemon that listens on a socket, and a file under ~/.dbus). The program
// starts nothing and writes nothing, so it leaves the bus alone unless the session has one.
void useOnlyARunningSessionBus()
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

} // namespace

int main(int argc, char *argv[])
{
    useOnlyARunningSessionBus();
    QApplication application(argc, argv);
    // Lets the desktop match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELVOR_APP_ID));
    tk::SystemClock clock;
    tk::Program program(clock);
    program.setEndHandler([] { QCoreApplication::quit(); });
    program.show<Form1>();
    return QApplication::exec();
}
