#include "application.h"

#include "desktop_settings_reader.h"
#include "no_display_report.h"
#include "session_bus.h"

#include <QApplication>

namespace tk {

namespace {

// The environment is settled before Qt reads it.
std::unique_ptr<QApplication> startQt(int &argc, char **argv, const char *name)
{
    leaveAbsentSessionBusAlone();
    return startQtOnDisplay(argc, argv, name);
}

} // namespace

Application::Application(int &argc, char **argv, const char *desktopFileName, const char *name)
    : qt_(startQt(argc, argv, name)), program_(clock_), desktop_(program_),
      desktopSettings_(std::make_unique<DesktopSettingsReader>())
{
    // Lets the desktop match the windows to the menu entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopFileName));
    // Qt puts the application's name in the place of an empty window title (QPlatformWindow's
    // formatWindowTitle, which Wayland's and X11's windows use) unless a display name is set. An empty
    // display name adds nothing to a title, and leaves a window without one (a null title, as a window view
    // passes) untitled.
    QGuiApplication::setApplicationDisplayName(QLatin1String(""));
    program_.setEndHandler([] { QCoreApplication::quit(); });
}

Application::~Application() = default;

int Application::exec()
{
    return QApplication::exec();
}

} // namespace tk
