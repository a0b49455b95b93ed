#include "no_display_report.h"

#include "command_line.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace tk {

namespace {

const char *programName = "";
QByteArray displayNamed;

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
    const QByteArray x11 = displayNamed.isNull() ? qgetenv("DISPLAY") : displayNamed;
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
                     programName, displayNamed.isNull() ? "DISPLAY=" : "-display ", x11.constData(),
                     wayland.constData(), programName);
    std::_Exit(1);
}

} // namespace

std::unique_ptr<QApplication> startQtOnDisplay(int &argc, char **argv, const char *name)
{
    programName = name;
    displayNamed = displayOption(argc, argv);
    qtHandler = qInstallMessageHandler(reportNoDisplay);
    auto qt = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    replayStartupMessages();
    return qt;
}

} // namespace tk
