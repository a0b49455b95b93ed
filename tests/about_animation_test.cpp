#include "recording_view.h"

#include <form1.h>
#include <form3.h>

#include <QTest>

#include <array>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

struct Credit {
    const char *name;
    float start;
};

// The credit items in the order they come into view, the emblem last.
const std::array<Credit, 14> credits{{
    {"Label2", 2040},
    {"Label3", 2520},
    {"Label4", 2760},
    {"Label5", 3000},
    {"Label6", 3600},
    {"Label7", 3840},
    {"Label8", 4080},
    {"Label9", 4320},
    {"Label10", 4800},
    {"Label11", 5640},
    {"Label12", 5880},
    {"Label13", 6120},
    {"Label14", 6360},
    {"Image2", 5040},
}};

constexpr qint64 tick = 100;

float heightOf(const Form3 &form, const char *name)
{
    return float(form.layout().controls[form.control(name).index()].box.height);
}

// The credit items of which some part lies within the viewport's height, where the view was last told they
// stand.
QStringList inView(tk::Program &program, const Form3 &form)
{
    program.flush();
    const RecordingView &view = RecordingView::of(form);
    QStringList names;
    for (const Credit &credit : credits) {
        const float top = view.top(credit.name);
        if (top < heightOf(form, "Picture1") && top + heightOf(form, credit.name) > 0)
            names << QString::fromLatin1(credit.name);
    }
    return names;
}

QList<float> tops(const Form3 &form)
{
    QList<float> result;
    for (const Credit &credit : credits)
        result << dynamic_cast<const tk::BoxControl &>(form.control(credit.name)).top();
    return result;
}

QList<float> startsMoved(float by)
{
    QList<float> result;
    for (const Credit &credit : credits)
        result << credit.start - by;
    return result;
}

void setAllTops(Form3 &form, float top)
{
    for (const Credit &credit : credits)
        form.boxControl(credit.name).setTop(top);
}

bool noneRose(const QList<float> &before, const QList<float> &after)
{
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (after[i] > before[i])
            return false;
    }
    return true;
}

} // namespace

class AboutAnimationTest : public QObject
{
    Q_OBJECT

private slots:
    void whatIsInViewAfter_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QStringList>("visible");
        QTest::newRow("load") << qint64(0) << QStringList();
        QTest::newRow("99 ms") << qint64(99) << QStringList();
        QTest::newRow("the first tick") << qint64(100) << QStringList();
        QTest::newRow("15 s: the maker's lines cross the top, the emblem enters")
            << qint64(15'000)
            << QStringList({u"Label6"_s, u"Label7"_s, u"Label8"_s, u"Label9"_s, u"Label10"_s, u"Image2"_s});
        QTest::newRow("26.4 s: the last pixel row of the last line")
            << qint64(26'400) << QStringList({u"Label14"_s});
        QTest::newRow("26.5 s: all gone") << qint64(26'500) << QStringList();
        QTest::newRow("10 minutes") << qint64(600'000) << QStringList();
    }

    void whatIsInViewAfter()
    {
        QFETCH(qint64, ms);
        QFETCH(QStringList, visible);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        session.milliseconds(ms);
        QCOMPARE(tops(form), startsMoved(25.0f * float(ms / tick)));
        QCOMPARE(inView(session.program(), form), visible);
    }

    // The rights line leads, entering across the viewport's bottom edge, whatever its inner height.
    void theRightsLineComesFirstFromTheBottomEdge()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        QStringList visible;
        int ticks = 0;
        while (visible.isEmpty() && ticks < 100) {
            session.milliseconds(tick);
            ++ticks;
            visible = inView(session.program(), form);
        }
        QCOMPARE(visible, QStringList({u"Label2"_s}));
        QVERIFY(RecordingView::of(form).top("Label2") + heightOf(form, "Label2") >=
                heightOf(form, "Picture1"));
        QVERIFY(ticks >= 19 && ticks <= 22);
    }

    void staysEmptyOnceRolledOut()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        session.milliseconds(265 * tick);
        for (int i = 0; i < 3000; ++i) {
            session.milliseconds(tick);
            QVERIFY2(inView(session.program(), form).isEmpty(), qPrintable(QString::number(265 + i + 1)));
        }
        QVERIFY(form.timer("Timer1").enabled());
    }

    void restartPutsEveryItemBack_data()
    {
        QTest::addColumn<qint64>("ticks");
        QTest::addColumn<int>("clicks");
        QTest::newRow("before the first tick") << qint64(0) << 1;
        QTest::newRow("mid-run") << qint64(120) << 1;
        QTest::newRow("mid-run, twice in a row") << qint64(120) << 2;
        QTest::newRow("after all have passed") << qint64(400) << 1;
    }

    void restartPutsEveryItemBack()
    {
        QFETCH(qint64, ticks);
        QFETCH(int, clicks);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        session.milliseconds(ticks * tick + 50);
        for (int i = 0; i < clicks; ++i)
            Session::click(form, "Command1");
        QCOMPARE(tops(form), startsMoved(0));
        QCOMPARE(inView(session.program(), form), QStringList());
        // The timer keeps its rhythm: the next tick comes on time and starts the run from the beginning.
        session.milliseconds(50);
        QCOMPARE(tops(form), startsMoved(25));
        session.milliseconds(150 * tick);
        QCOMPARE(inView(session.program(), form).size(), 6);
    }

    void konecClosesOnlyTheAboutWindowAndReopeningStartsAfresh()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        Session::click(main, "mnuabout");
        Form3 *first = session.program().find<Form3>();
        QVERIFY(first);
        session.milliseconds(100 * tick);
        Session::click(*first, "Command2");
        QVERIFY(!session.program().find<Form3>());
        QVERIFY(main.loaded());
        QVERIFY(!session.program().ended());
        session.program().flush();

        Session::click(main, "mnuabout");
        Form3 *second = session.program().find<Form3>();
        QVERIFY(second);
        QVERIFY(RecordingView::of(*second).shown());
        QCOMPARE(tops(*second), startsMoved(0));
        session.milliseconds(tick);
        QCOMPARE(tops(*second), startsMoved(25));
    }

    void choosingAboutAgainKeepsTheRunningWindow()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        Session::click(main, "mnuabout");
        Form3 *about = session.program().find<Form3>();
        session.milliseconds(50 * tick + 30);
        Session::click(main, "mnuabout");
        QCOMPARE(session.program().find<Form3>(), about);
        QCOMPARE(tops(*about), startsMoved(50 * 25));
        session.milliseconds(tick - 30);
        QCOMPARE(tops(*about), startsMoved(51 * 25));
    }

    void theMainWindowGoesOnMetering()
    {
        LocaleScope scope(u"cs_CZ"_s);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        Session::click(main, "Command1");
        Session::click(main, "mnuabout");
        session.seconds(5);
        QCOMPARE(main.label("Label1").caption(), u"5"_s);
        const QString title = main.caption();
        QVERIFY(title.endsWith(u" = 2,4 Kč"_s));
        Session::click(*session.program().find<Form3>(), "Command2");
        session.seconds(3);
        QCOMPARE(main.label("Label1").caption(), u"8"_s);
        QVERIFY(main.caption() != title);
        QVERIFY(main.timer("Timer1").enabled());
    }

    void stopWithoutTheBillClosesTheAboutWindowToo()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &main = session.program().show<Form1>();
        Session::click(main, "mnuabout");
        session.seconds(2);
        Session::click(main, "Check2");
        Session::click(main, "Command3");
        QVERIFY(session.program().ended());
        QVERIFY(!session.program().find<Form3>());
    }

    // Far-off positions, set directly: a window's positions are all its state.
    void farPositionsStayOutOfSightAndRestart_data()
    {
        QTest::addColumn<float>("top");
        QTest::newRow("a year's fall in exact arithmetic") << -25.0f * 315'360'000.0f;
        QTest::newRow("the lowest a position can be") << std::numeric_limits<float>::lowest();
    }

    void farPositionsStayOutOfSightAndRestart()
    {
        QFETCH(float, top);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        setAllTops(form, top);
        QCOMPARE(inView(session.program(), form), QStringList());
        const QList<float> before = tops(form);
        session.seconds(10);
        QVERIFY(noneRose(before, tops(form)));
        QCOMPARE(inView(session.program(), form), QStringList());
        Session::click(form, "Command1");
        QCOMPARE(tops(form), startsMoved(0));
        session.milliseconds(150 * tick);
        QCOMPARE(inView(session.program(), form).size(), 6);
    }

    // A year is 315 million ticks. Single precision stops the fall long before: once a step is lost in
    // rounding, a tick leaves the positions as they are, and so does every later one. This runs the ticks
    // until that point (about three weeks' worth), then checks "Znovu".
    void aWindowOpenForAYearStillRestarts()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form3 &form = session.program().show<Form3>();
        constexpr qint64 chunk = 500'000;
        qint64 ticks = 0;
        QList<float> before = tops(form);
        for (;;) {
            session.milliseconds(chunk * tick);
            ticks += chunk;
            const QList<float> after = tops(form);
            QVERIFY(noneRose(before, after));
            QCOMPARE(inView(session.program(), form), QStringList());
            if (after == before)
                break;
            before = after;
            QVERIFY(ticks < 315'360'000);
        }
        session.milliseconds(tick);
        QCOMPARE(tops(form), before);
        Session::click(form, "Command1");
        QCOMPARE(tops(form), startsMoved(0));
        session.milliseconds(150 * tick);
        QCOMPARE(inView(session.program(), form).size(), 6);
    }
};

QTEST_GUILESS_MAIN(AboutAnimationTest)
#include "about_animation_test.moc"
