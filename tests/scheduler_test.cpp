#include "session.h"

#include <system_clock.h>

#include <QEventLoop>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <ctime>

using namespace Qt::StringLiterals;

using namespace tk;

namespace {

const std::array clockControls{
    ControlLayout{.kind = Kind::Timer, .name = "Slow", .enabled = false, .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Other", .enabled = false, .interval = 1000},
    ControlLayout{.kind = Kind::Timer, .name = "Fast", .enabled = false, .interval = 300},
    ControlLayout{.kind = Kind::CommandButton, .name = "Click", .box = {0, 0, 1000, 375}, .caption = "Click"},
};
const FormLayout clockLayout{
    .name = "Clocks", .clientWidth = 1500, .clientHeight = 1500, .controls = clockControls};

// A window of three timers that records every tick: which timer, and the local time it saw.
class Clocks final : public Form
{
public:
    explicit Clocks(Program &program) : Form(program, clockLayout)
    {
        for (const char *name : {"Slow", "Other", "Fast"})
            timer(name).onTimer([this, name] { record(name); });
        commandButton("Click").onClick([this] { record("Click"); });
    }

    void record(const char *name)
    {
        ticks << QString::fromLatin1(name);
        const tk::LocalMoment moment = now();
        const auto sinceMidnight = moment - std::chrono::floor<std::chrono::days>(moment);
        times << QTime::fromMSecsSinceStartOfDay(int(sinceMidnight.count())).toString(u"HH:mm:ss.zzz");
        if (onTick)
            onTick(QString::fromLatin1(name));
    }

    QStringList ticks;
    QStringList times;
    std::function<void(const QString &)> onTick;
};

// A second window on the same layout, that keeps the program running.
class Keeper final : public Form
{
public:
    explicit Keeper(Program &program) : Form(program, clockLayout) {}
};

} // namespace

class SchedulerTest : public QObject
{
    Q_OBJECT

private slots:
    void deliversInDueOrderWithTiesInEnableOrder()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        clocks.timer("Other").setEnabled(true);
        clocks.timer("Slow").setEnabled(true);
        clocks.timer("Fast").setEnabled(true);
        session.milliseconds(1000);
        QCOMPARE(clocks.ticks, QStringList({u"Fast"_s, u"Fast"_s, u"Fast"_s, u"Other"_s, u"Slow"_s}));
        QCOMPARE(clocks.times.last(), u"10:00:01.000"_s);
    }

    void enablingAnEnabledTimerKeepsItsRhythm()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        Timer &slow = clocks.timer("Slow");
        slow.setEnabled(true);
        session.milliseconds(700);
        slow.setEnabled(true);
        session.milliseconds(300);
        QCOMPARE(clocks.times, QStringList({u"10:00:01.000"_s}));
    }

    void enablingADisabledTimerStartsAFullInterval()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        Timer &slow = clocks.timer("Slow");
        slow.setEnabled(true);
        session.milliseconds(700);
        slow.setEnabled(false);
        slow.setEnabled(true);
        session.milliseconds(999);
        QCOMPARE(clocks.ticks.size(), 0);
        session.milliseconds(1);
        QCOMPARE(clocks.times, QStringList({u"10:00:01.700"_s}));
    }

    // A timer enabled by a tick that is delivered late still counts its interval from the moment that tick
    // fell due, so a caught-up run ends exactly where an on-time run would.
    void timersEnabledDuringCatchUpKeepTheirPlace()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        clocks.onTick = [&clocks](const QString &name) {
            if (name == u"Slow")
                clocks.timer("Fast").setEnabled(true);
        };
        clocks.timer("Slow").setEnabled(true);
        session.seconds(10);
        QCOMPARE(clocks.ticks.count(u"Fast"_s), 30);
        QCOMPARE(clocks.times.last(), u"10:00:10.000"_s);
    }

    void disablingStopsAtOnceEvenWhenTheTickIsDue()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        clocks.onTick = [&clocks](const QString &name) {
            if (name == u"Slow")
                clocks.timer("Other").setEnabled(false);
        };
        clocks.timer("Slow").setEnabled(true);
        clocks.timer("Other").setEnabled(true);
        session.seconds(3);
        QCOMPARE(clocks.ticks, QStringList({u"Slow"_s, u"Slow"_s, u"Slow"_s}));
    }

    void aHeldUpLoopLosesNoTick_data()
    {
        QTest::addColumn<qint64>("stall");
        QTest::newRow("one second") << qint64(1000);
        QTest::newRow("a minute and a bit") << qint64(61'500);
        QTest::newRow("eight hours asleep") << qint64(8 * 3600 * 1000);
    }

    void aHeldUpLoopLosesNoTick()
    {
        QFETCH(qint64, stall);
        Session session(Session::at(2026, 12, 7, 22));
        auto &clocks = session.program().form<Clocks>();
        clocks.timer("Slow").setEnabled(true);
        session.milliseconds(stall);
        QCOMPARE(clocks.ticks.size(), stall / 1000);
        // Each tick saw the local time at which it fell due, not the time at which it was delivered.
        QCOMPARE(clocks.times.first(), u"22:00:01.000"_s);
        QCOMPARE(clocks.times.last(),
                 Session::at(2026, 12, 7, 22).addMSecs(stall / 1000 * 1000).time().toString(u"HH:mm:ss.zzz"));
    }

    // A long catch-up runs in slices, the event loop between them; a click given meanwhile takes its place
    // among the ticks by the moment it was given, after the tick that fell due at that very moment.
    void aCatchUpReturnsToTheEventLoopAndAClickWaitsItsTurn()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().show<Clocks>();
        clocks.onTick = [&session](const QString &) { session.clock().work(8); };
        clocks.timer("Slow").setEnabled(true);
        session.seconds(10);
        QCOMPARE(clocks.ticks.size(), 4);
        QVERIFY(session.catchingUp());
        Session::click(clocks, "Click");
        session.seconds(5);
        QCOMPARE(clocks.ticks.size(), 4);
        QList<qsizetype> slices;
        while (session.catchingUp()) {
            const qsizetype before = clocks.ticks.size();
            QCoreApplication::sendPostedEvents();
            slices << clocks.ticks.size() - before;
        }
        QCOMPARE(slices, QList<qsizetype>({4, 4, 4}));
        QCOMPARE(clocks.ticks.indexOf(u"Click"_s), 10);
        QCOMPARE(clocks.times[10], u"10:00:10.000"_s);
        QCOMPARE(clocks.times.last(), u"10:00:15.000"_s);
    }

    // A slice that ends on the last tick due leaves the click given after it to the next slice, rather than
    // to the next tick, a second later.
    void aClickAfterTheLastTickDueRunsWithoutWaitingForTheNext()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().show<Clocks>();
        clocks.onTick = [&session](const QString &) { session.clock().work(8); };
        clocks.timer("Slow").setEnabled(true);
        session.seconds(8);
        QCOMPARE(clocks.ticks.size(), 4);
        Session::click(clocks, "Click");
        while (session.catchingUp())
            QCoreApplication::sendPostedEvents();
        QCOMPARE(clocks.ticks.size(), 9);
        QCOMPARE(clocks.ticks.last(), u"Click"_s);
    }

    // A click still waiting when its window unloads is dropped: its handler may not outlive the window.
    void aClickWaitingForAnUnloadedWindowNeverRuns()
    {
        Session session(Session::at(2026, 12, 7, 10));
        session.program().show<Keeper>();
        auto &clocks = session.program().show<Clocks>();
        int clicks = 0;
        clocks.commandButton("Click").onClick([&clicks] { ++clicks; });
        clocks.onTick = [&session](const QString &) { session.clock().work(8); };
        clocks.timer("Slow").setEnabled(true);
        session.seconds(10);
        Session::click(clocks, "Click");
        QVERIFY(session.catchingUp());
        clocks.unload();
        while (session.catchingUp())
            QCoreApplication::sendPostedEvents();
        QCOMPARE(clicks, 0);
        QVERIFY(!session.program().ended());
    }

    // The C library reads the zone once; the program has it read again every hour.
    void aChangeOfZoneIsFollowedWithinTheHour()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        clocks.timer("Slow").setEnabled(true);
        session.seconds(1);
        QCOMPARE(clocks.times.last(), u"10:00:01.000"_s);
        const QByteArray zone = qgetenv("TZ");
        const auto restore = qScopeGuard([&zone] {
            qputenv("TZ", zone);
            tzset();
        });
        qputenv("TZ", "UTC");
        session.seconds(3600);
        QCOMPARE(clocks.times.last(), u"10:00:01.000"_s);
    }

    // Ticks caught up after a sleep see the local time at which they fell due, on the real clock too.
    void theRealClockGivesAPastMomentItsOwnLocalTime()
    {
        const SystemClock clock;
        constexpr Ms ago = 5 * 3600 * 1000;
        const LocalMoment then = clock.localTimeAt(clock.monotonic() - ago);
        const std::time_t second = std::time(nullptr) - ago / 1000;
        std::tm local{};
        localtime_r(&second, &local);
        const LocalMoment expected(std::chrono::seconds(second + local.tm_gmtoff));
        QVERIFY(std::chrono::abs(then - expected) < std::chrono::seconds(2));
    }

    // The real clock wakes the program within a few tens of milliseconds of a due tick; on a busy machine
    // some wake-ups come later, so the best of three counts.
    void theRealClockWakesOnTime()
    {
        SystemClock clock;
        Program program(clock);
        auto &clocks = program.show<Clocks>();
        clocks.commandButton("Click").onClick([&clocks] { clocks.timer("Slow").setEnabled(true); });
        QList<Ms> lateness;
        QEventLoop loop;
        clocks.onTick = [&](const QString &) {
            lateness << clock.monotonic() - program.scheduler().now();
            if (lateness.size() == 3)
                loop.quit();
        };
        Session::click(clocks, "Click");
        QTimer::singleShot(std::chrono::seconds(20), &loop, &QEventLoop::quit);
        loop.exec();
        QCOMPARE(lateness.size(), 3);
        const Ms best = *std::min_element(lateness.begin(), lateness.end());
        QVERIFY2(best >= -1 && best <= 50, qPrintable(u"woken %1 ms after the tick was due"_s.arg(best)));
    }

    // A wake-up asked for a moment already past, as when a handler ran long, comes at once from the event
    // loop: the window would otherwise stand still until the user did something.
    void theRealClockWakesAtOnceForAMomentPast()
    {
        SystemClock clock;
        std::optional<Ms> woken;
        clock.setWakeHandler([&woken](Ms upTo) { woken = upTo; });
        const Ms due = clock.monotonic() - 100;
        clock.wakeAt(due);
        QVERIFY(QTest::qWaitFor([&woken] { return woken.has_value(); }, 1000));
        QVERIFY(*woken >= due);
    }

    void theLocalTimeOfATickFollowsDaylightSaving()
    {
        // 02:59:59 summer time, one second before the clocks go back to 02:00.
        Session session(QDateTime(QDate(2026, 10, 25), QTime(0, 59, 59), QTimeZone::utc())
                            .toTimeZone(QTimeZone("Europe/Prague")));
        auto &clocks = session.program().form<Clocks>();
        clocks.timer("Slow").setEnabled(true);
        session.seconds(1);
        QCOMPARE(clocks.times.last(), u"02:00:00.000"_s);
        session.seconds(3600);
        QCOMPARE(clocks.times.last(), u"03:00:00.000"_s);
    }

    void endingTheProgramStopsEveryTick()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().form<Clocks>();
        clocks.onTick = [&session](const QString &) { session.program().end(); };
        clocks.timer("Slow").setEnabled(true);
        clocks.timer("Other").setEnabled(true);
        session.seconds(5);
        QCOMPARE(clocks.ticks.size(), 1);
        QVERIFY(session.program().ended());
    }

    void aTickMayUnloadItsOwnWindow()
    {
        Session session(Session::at(2026, 12, 7, 10));
        auto &clocks = session.program().show<Clocks>();
        bool ended = false;
        session.program().setEndHandler([&ended] { ended = true; });
        clocks.onTick = [&clocks](const QString &) { clocks.unload(); };
        clocks.timer("Slow").setEnabled(true);
        clocks.timer("Other").setEnabled(true);
        session.seconds(5);
        QCOMPARE(clocks.ticks.size(), 1);
        QVERIFY(ended);
        QVERIFY(!session.program().find<Clocks>());
        session.program().flush();
    }
};

QTEST_GUILESS_MAIN(SchedulerTest)
#include "scheduler_test.moc"
