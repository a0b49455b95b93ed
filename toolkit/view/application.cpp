#include "application.h"

#include "desktop_settings_reader.h"

#include <QApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace tk {

// Where no session bus runs, Qt's search for an accessibility bus would have the D-Bus library start one
// ("dbus-launch --autolaunch": a daemon that listens on a socket, and a file under ~/.dbus). The program
// starts nothing and writes nothing, so it leaves the bus alone unless the session has one. Nor does Qt
// then ask for the desktop portal: from Qt 6.8 on, the question, unanswered, would be left behind unfreed.
// Qt 6.8's GNOME and Xfce themes would warn that no bus runs, which is the program's own choice here.
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
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.theme.dbus.warning=false"));
}

namespace {

// Those that Qt 6 takes off the command line itself, on every platform or on X11: with a value, which Qt
// reads as the next argument (after '=' as well for the second three alone; any other option written so it
// leaves unread), and without.
constexpr auto qtOptionsWithValue = std::to_array<std::string_view>(
    {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
     "qwindowtitle", "session", "style", "stylesheet", "qmljsdebugger", "display", "geometry", "title",
     "icon", "name", "visual"});
constexpr auto qtOptionsWithValueAfterEquals =
    std::to_array<std::string_view>({"style", "stylesheet", "qmljsdebugger"});
constexpr auto qtFlags =
    std::to_array<std::string_view>({"reverse", "widgetcount", "testability", "nograb", "dograb"});

template <std::size_t N> bool among(const std::array<std::string_view, N> &names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The command line, read as Qt reads it, options after one dash or two alike. QCommandLineParser would take a
// value after '=' for every option, where Qt leaves most unread, and names an unknown option without its
// dashes.
struct Arguments {
    QString mistake; // the first one, in words, naming what the user typed; empty where there is none
    bool help = false;
    bool version = false;
    QByteArray display; // the X display that -display names, if it does
};

Arguments readArguments(int argc, char **argv)
{
    Arguments read;
    const auto text = [](std::string_view typed) {
        return QString::fromLocal8Bit(typed.data(), qsizetype(typed.size()));
    };
    for (int i = 1; i < argc && read.mistake.isEmpty(); ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--") {
            if (i + 1 < argc)
                read.mistake = QStringLiteral("Unexpected argument '%1'.").arg(text(argv[i + 1]));
            break;
        }
        // The program opens nothing and takes no argument but options.
        if (argument.size() < 2 || argument.front() != '-') {
            read.mistake = QStringLiteral("Unexpected argument '%1'.").arg(text(argument));
            break;
        }
        const std::string_view option = argument.substr(0, argument.find('='));
        const std::string_view name = option.substr(option.starts_with("--") ? 2 : 1);
        const bool valueAfterEquals = option.size() < argument.size();
        if (name == "h" || name == "help" || name == "version" || among(qtFlags, name)) {
            if (valueAfterEquals)
                read.mistake = QStringLiteral("Unexpected value after '%1'.").arg(text(option));
            read.help = read.help || name == "h" || name == "help";
            read.version = read.version || name == "version";
        } else if (!among(qtOptionsWithValue, name)) {
            read.mistake = QStringLiteral("Unknown option '%1'.").arg(text(option));
        } else if (valueAfterEquals) {
            if (!among(qtOptionsWithValueAfterEquals, name))
                read.mistake =
                    QStringLiteral("Option '%1' takes its value as the next argument, not after '='.")
                        .arg(text(option));
        } else if (++i == argc) {
            read.mistake = QStringLiteral("Missing value after '%1'.").arg(text(option));
        } else if (name == "display") {
            read.display = argv[i];
        }
    }
    return read;
}

const char *programName = "";
QByteArray displayOption;

QtMessageHandler qtHandler = nullptr;
struct Message {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<Message> startupMessages;

void replayStartupMessages()
{
    for (const Message &message : std::exchange(startupMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qtHandler(message.type, context, message.text);
    }
}

// Where no display can be opened, Qt reports it in several lines and aborts, dumping core. The program says
// so in one line, naming the display it looked for, and ends with status 1. Qt's messages while it starts
// wait until it is known whether that is what they tell: not all come from the platform's own categories
// (Wayland's "Failed to create wl_display" comes uncategorized).
void reportNoDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        startupMessages.push_back({type, QByteArray(context.category ? context.category : ""), message});
        return;
    }
    const bool noDisplay = std::any_of(startupMessages.begin(), startupMessages.end(), [](const Message &m) {
        return m.text.contains(QLatin1String("display"), Qt::CaseInsensitive);
    });
    if (!noDisplay) {
        replayStartupMessages();
        qtHandler(type, context, message);
        return;
    }
    // Qt looks on X11 for the display that -display names, else for DISPLAY's.
    const QByteArray x11 = displayOption.isNull() ? qgetenv("DISPLAY") : displayOption;
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (x11.isEmpty() && wayland.isEmpty())
        std::fprintf(
            stderr,
            "%s: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set; start "
            "it in a desktop session, or on a virtual X server: xvfb-run -a %s\n",
            programName, programName);
    else
        std::fprintf(stderr,
                     "%s: cannot open the display (%s\"%s\", WAYLAND_DISPLAY=\"%s\"); start it in a desktop "
                     "session, or on a virtual X server: xvfb-run -a %s\n",
                     programName, displayOption.isNull() ? "DISPLAY=" : "-display ", x11.constData(),
                     wayland.constData(), programName);
    std::_Exit(1);
}

std::unique_ptr<QApplication> startQt(int &argc, char **argv, const char *name)
{
    programName = name;
    displayOption = readArguments(argc, argv).display;
    qtHandler = qInstallMessageHandler(reportNoDisplay);
    auto qt = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    replayStartupMessages();
    return qt;
}

} // namespace

std::optional<int> answerCommandLine(int argc, char **argv, const CommandLine &commandLine)
{
    const Arguments arguments = readArguments(argc, argv);
    if (!arguments.mistake.isEmpty()) {
        std::fprintf(stderr, "%s: %s See %s --help.\n", commandLine.name, qPrintable(arguments.mistake),
                     commandLine.name);
        return 2;
    }
    if (arguments.help) {
        std::fputs(commandLine.usage, stdout);
        return 0;
    }
    if (arguments.version) {
        std::fputs(commandLine.version, stdout);
        return 0;
    }
    return std::nullopt;
}

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
