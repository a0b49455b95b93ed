#include "application.h"

#include "desktop_settings_reader.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

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

namespace {

QtMessageHandler qtHandler = nullptr;
struct Message {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<Message> platformMessages;

void replayPlatformMessages()
{
    for (const Message &message : std::exchange(platformMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qtHandler(message.type, context, message.text);
    }
}

// Where no display can be opened, Qt reports it in several lines and aborts, dumping core. The program says
// so in one line, naming the display it looked for, and ends with status 1. Qt's messages about its platform
// wait until it is known whether that is what they tell.
void reportNoDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("qt.qpa") && type != QtFatalMsg) {
        platformMessages.push_back({type, category, message});
        return;
    }
    const bool noDisplay =
        std::any_of(platformMessages.begin(), platformMessages.end(), [](const Message &m) {
            return m.text.contains(QLatin1String("display"), Qt::CaseInsensitive);
        });
    if (type != QtFatalMsg || !noDisplay) {
        if (type == QtFatalMsg)
            replayPlatformMessages();
        qtHandler(type, context, message);
        return;
    }
    const QByteArray x11 = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (x11.isEmpty() && wayland.isEmpty())
        std::fputs(
            "zelvor: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set; start it "
            "in a desktop session, or on a virtual X server: xvfb-run -a zelvor\n",
            stderr);
    else
        std::fprintf(
            stderr,
            "zelvor: cannot open the display (DISPLAY=\"%s\", WAYLAND_DISPLAY=\"%s\"); start it in a "
            "desktop session, or on a virtual X server: xvfb-run -a zelvor\n",
            x11.constData(), wayland.constData());
    std::_Exit(1);
}

std::unique_ptr<QApplication> startQt(int &argc, char **argv)
{
    qtHandler = qInstallMessageHandler(reportNoDisplay);
    auto qt = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    replayPlatformMessages();
    return qt;
}

} // namespace

std::optional<int> answerCommandLine(int argc, char **argv, const CommandLine &commandLine)
{
    QCommandLineParser parser;
    // Qt's options are single words after one dash or two (-platform, --display); so are the program's.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    // Those that Qt 6 takes off the command line itself, on every platform or on X11, with a value or
    // without.
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "qmljsdebugger",
                             "display", "geometry", "title", "icon", "name", "visual"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char *name : {"reverse", "widgetcount", "testability", "nograb", "dograb"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // The program opens nothing and takes no argument but options.
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString mistake =
            parser.errorText().isEmpty()
                ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst())
                : parser.errorText();
        std::fprintf(stderr, "zelvor: %s See zelvor --help.\n", qPrintable(mistake));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(commandLine.usage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs(commandLine.version, stdout);
        return 0;
    }
    return std::nullopt;
}

Application::Application(int &argc, char **argv, const char *desktopFileName)
    : qt_(startQt(argc, argv)), program_(clock_), desktop_(program_),
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
