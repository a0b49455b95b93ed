#pragma once

#include <QByteArray>

#include <optional>

namespace tk {

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

// The X display that the command line names with -display; null where it names none.
QByteArray displayOption(int argc, char **argv);

} // namespace tk
