#include "command_line.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace tk {

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

QByteArray displayOption(int argc, char **argv)
{
    return readArguments(argc, argv).display;
}

} // namespace tk
