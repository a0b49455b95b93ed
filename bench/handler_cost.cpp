// What the program's handlers cost, on a simulated clock, without a display:
//
//   handler_cost shape    the number of widgets in the main window (all of them, the toolkit's own included)
//                         and its size in pixels, for the bare window to copy
//   handler_cost catch-up DAYS
//                         only the long catch-up, of DAYS days: small enough to run under callgrind
//   handler_cost          how long the scheduler takes to deliver a 25-hour call, and to catch up eight hours
//                         of missed ticks in one jump with the about window open, each next to the same
//                         ticks delivered to empty handlers; then a 30-day jump caught up through the event
//                         loop, as the real program does it: its processor time and the longest stretch of
//                         work without a return to the event loop
//
// A simulated second is delivered as the real clock delivers it: the main window's own ticks and, 0.3 s
// later, the call's, each followed by the widget sync that the event loop would run.

#include <desktop.h>
#include <form1.h>
#include <form3.h>
#include <manual_clock.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace tk;

namespace {

constexpr Ms second = 1000;
constexpr Ms callOffset = 300; // how long after the window opened the call starts

// As many one-second timers as a call keeps running (the main window's three, the call's two and one of
// the two unit clocks), and one like the about window's, all with empty handlers: the scheduler's own cost.
const std::array emptyControls{
    ControlLayout{.kind = Kind::Timer, .name = "Window1", .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Window2", .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Window3", .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Unit", .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Call1", .enabled = false, .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Call2", .enabled = false, .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Credits", .enabled = false, .interval = 100},
};
const FormLayout emptyLayout{.name = "Empty", .controls = emptyControls};

class EmptyHandlers final : public Form
{
public:
    explicit EmptyHandlers(Program &program) : Form(program, emptyLayout)
    {
        for (const ControlLayout &row : emptyControls)
            timer(row.name).onTimer([] {});
    }
};

// One run of the program on a simulated clock, from a fixed local morning.
struct Run {
    ManualClock clock{QDateTime(QDate(2026, 12, 7), QTime(10, 0))};
    Program program{clock};
    Desktop desktop{program};

    void advance(Ms ms)
    {
        clock.advance(ms);
        QCoreApplication::sendPostedEvents();
    }
};

void click(Form &form, const char *name)
{
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = tk::windowOf(form)->findChild<QAbstractButton *>(objectName))
        button->click();
    else
        tk::windowOf(form)->findChild<QAction *>(objectName)->trigger();
    QCoreApplication::sendPostedEvents();
}

// Opens the real main window and starts a call in it 0.3 s later.
void startCall(Run &run)
{
    Form1 &form = run.program.show<Form1>();
    run.advance(callOffset);
    click(form, "Command1");
    if (!form.timer("Timer1").enabled())
        qFatal("the call did not start");
}

// The same timers in the same rhythm with nothing to do.
void startEmpty(Run &run)
{
    EmptyHandlers &form = run.program.show<EmptyHandlers>();
    run.advance(callOffset);
    form.timer("Call1").setEnabled(true);
    form.timer("Call2").setEnabled(true);
}

double millisecondsOf(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Delivers `seconds` of a running call second by second, as two wake-ups a second.
double callOf(const std::function<void(Run &)> &start, Ms seconds)
{
    Run run;
    start(run);
    return millisecondsOf([&] {
        for (Ms s = 0; s < seconds; ++s) {
            run.advance(second - callOffset);
            run.advance(callOffset);
        }
    });
}

// A call running for a minute, then the clock jumps eight hours at once (a suspended computer waking up);
// times the jump and the widget sync after it.
double catchUpOf(const std::function<void(Run &)> &start)
{
    Run run;
    start(run);
    for (int s = 0; s < 60; ++s)
        run.advance(second);
    return millisecondsOf([&] { run.advance(8 * 3600 * second); });
}

// The same with the about window open from the main window's menu, its credits rolling ten times a second.
void startCallWithAbout(Run &run)
{
    startCall(run);
    click(*run.program.find<Form1>(), "mnuabout");
    if (!run.program.find<Form3>())
        qFatal("the about window did not open");
}

void startEmptyWithCredits(Run &run)
{
    startEmpty(run);
    run.program.find<EmptyHandlers>()->timer("Credits").setEnabled(true);
}

double processorMilliseconds()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) * 1000 + double(used.tv_nsec) / 1e6;
}

struct LongCatchUp {
    double processorMs = 0;
    double longestStretchMs = 0;
};

// A call with the about window open runs for a minute, then the clock jumps `days` at once; the event loop
// is then run pass by pass, as the real one runs (posted events, among them each next slice of the
// catch-up), until no tick is overdue. The slices are cut by real working time here.
LongCatchUp longCatchUpOf(Ms days)
{
    Run run;
    run.clock.measureRealWork();
    startCallWithAbout(run);
    for (int s = 0; s < 60; ++s)
        run.advance(second);
    LongCatchUp result;
    const auto stretch = [&result](const std::function<void()> &work) {
        result.longestStretchMs = std::max(result.longestStretchMs, millisecondsOf(work));
    };
    const auto behind = [&run] {
        const std::optional<Ms> due = run.program.scheduler().nextDue();
        return due && *due <= run.clock.monotonic();
    };
    const double start = processorMilliseconds();
    stretch([&] { run.clock.advance(days * 24 * 3600 * second); });
    do
        stretch([] { QCoreApplication::sendPostedEvents(); });
    while (behind());
    result.processorMs = processorMilliseconds() - start;
    return result;
}

// One figure a line, tab-separated: what, milliseconds, the baseline's milliseconds, what the baseline is.
void printFigure(const char *what, double ms, const char *baselineName, double baseline)
{
    std::printf("%s\t%.1f\t%.1f\t%s\n", what, ms, baseline, baselineName);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C"); // the figures are for scripts; the program's numbers keep the user's
    if (argc > 1 && QByteArray(argv[1]) == "shape") {
        Run run;
        Form1 &form = run.program.form<Form1>();
        const QWidget *window = tk::windowOf(form);
        std::printf("widgets=%lld width=%d height=%d\n", qint64(window->findChildren<QWidget *>().size()),
                    window->width(), window->height());
        return 0;
    }

    if (argc > 2 && QByteArray(argv[1]) == "catch-up") {
        const Ms days = QByteArray(argv[2]).toLongLong();
        const LongCatchUp catchUp = longCatchUpOf(days);
        printFigure("caught up, processor time a day", catchUp.processorMs / double(days), "goal", 200);
        printFigure("caught up, longest stretch of work", catchUp.longestStretchMs, "goal", 50);
        return 0;
    }

    const Ms callSeconds = 25 * 3600;
    printFigure("25-hour call, delivered second by second", callOf(startCall, callSeconds), "empty handlers",
                callOf(startEmpty, callSeconds));
    const double catchUp = catchUpOf(startCallWithAbout);
    printFigure("8 hours caught up, about window open", catchUp, "empty handlers",
                catchUpOf(startEmptyWithCredits));
    printFigure("8 hours caught up, about window open", catchUp, "goal", 500);
    const Ms days = 30;
    const LongCatchUp month = longCatchUpOf(days);
    printFigure("30 days caught up, processor time a day", month.processorMs / double(days), "goal", 200);
    printFigure("30 days caught up, longest stretch of work", month.longestStretchMs, "goal", 50);
    return 0;
}
