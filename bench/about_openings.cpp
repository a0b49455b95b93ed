// What opening the about window leaves behind: the real windows on the display that the environment names,
// on a simulated clock. Opens the about window from the main window and closes it again, as many times as
// asked (600 unless told), waiting each time until the window is on the screen, and prints the resident
// memory after the first ten openings and after the last, and what each opening in between kept on average.
//
//   about_openings [OPENINGS]

#include <desktop.h>
#include <form1.h>
#include <form3.h>
#include <manual_clock.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>

using namespace tk;

namespace {

long residentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

// Runs the event loop until the condition holds, or for at most a second.
template <class F> void runUntil(F done)
{
    const QDeadlineTimer deadline(1000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QCoreApplication::processEvents();
}

void openAndClose(Program &program)
{
    Form &about = program.show<Form3>();
    QWidget *window = tk::windowOf(about);
    runUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); });
    about.unload();
    runUntil([&program] { return !program.find<Form3>(); });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the figures are for scripts; the program's numbers keep the user's
    const int openings = argc > 1 ? std::stoi(argv[1]) : 600;
    constexpr int settling = 10;
    ManualClock clock{QDateTime(QDate(2026, 12, 7), QTime(10, 0))};
    Program program{clock};
    Desktop desktop{program};
    program.show<Form1>();
    for (int i = 0; i < settling; ++i)
        openAndClose(program);
    const long settled = residentKb();
    for (int i = settling; i < openings; ++i)
        openAndClose(program);
    const long last = residentKb();
    std::printf("resident_after_%d_kb=%ld resident_after_%d_kb=%ld kept_per_opening_kb=%.2f\n", settling,
                settled, openings, last, double(last - settled) / (openings - settling));
    return 0;
}
