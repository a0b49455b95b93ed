#include "session_bus.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QtGlobal>

#include <filesystem>
#include <system_error>

namespace tk {

// Where no session bus runs, Qt's search for an accessibility bus would have the D-Bus library start one
// ("dbus-launch --autolaunch": a daemon that listens on a socket, and a file under ~/.dbus). The program
// starts nothing and writes nothing, so it leaves the bus alone unless the session has one. Nor does Qt
// then ask for the desktop portal: from Qt 6.8 on, the question, unanswered, would be left behind unfreed.
// Qt 6.8's GNOME and Xfce themes would warn that no bus runs, which is the program's own choice here.
void leaveAbsentSessionBusAlone()
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
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.theme.dbus.warning=false"));
}

} // namespace tk
