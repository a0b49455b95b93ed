#include "recording_view.h"

#include <form1.h>

#include <QTest>

using namespace Qt::StringLiterals;

// Loading the main window and its Start and Stop commands, from the buttons and the menu alike.
class CallControlTest : public QObject
{
    Q_OBJECT

private slots:
    void loadWritesTheDateAndWeekday_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("weekday");
        QTest::newRow("Czech Monday")
            << u"cs_CZ"_s << RecordingSession::at(2026, 12, 7) << u"7.12.2026"_s << u"pondělí"_s;
        QTest::newRow("English Monday")
            << u"en_US"_s << RecordingSession::at(2026, 12, 7) << u"7.12.2026"_s << u"Monday"_s;
        QTest::newRow("Czech Sunday, early")
            << u"cs_CZ"_s << RecordingSession::at(1998, 3, 1, 0, 0, 1) << u"1.3.1998"_s << u"neděle"_s;
    }

    void loadWritesTheDateAndWeekday()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, start);
        QFETCH(QString, date);
        QFETCH(QString, weekday);
        LocaleScope scope(locale);
        RecordingSession session(start);
        Form1 &form = session.program().show<Form1>();
        QCOMPARE(form.label("Label10").caption(), date);
        QCOMPARE(form.label("Label11").caption(), weekday);
        session.seconds(24 * 3600);
        QCOMPARE(form.label("Label10").caption(), date);
    }

    void theTitleIsEmptyUntilTheFirstTick()
    {
        LocaleScope scope(u"cs_CZ"_s);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &form = session.program().show<Form1>();
        QCOMPARE(form.caption(), QString());
        session.milliseconds(999);
        QCOMPARE(form.caption(), QString());
        session.milliseconds(1);
        QCOMPARE(form.caption(), u"0:0:0 = 0 Kč"_s);
        session.program().flush();
        QCOMPARE(RecordingView::of(form).title(), u"0:0:0 = 0 Kč"_s);
    }

    void start_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("minimizeChecked");
        QTest::newRow("button") << u"Command1"_s << false;
        QTest::newRow("menu") << u"mnustart"_s << false;
        QTest::newRow("button, minimizing") << u"Command1"_s << true;
        QTest::newRow("menu, minimizing") << u"mnustart"_s << true;
    }

    void start()
    {
        QFETCH(QString, command);
        QFETCH(bool, minimizeChecked);
        LocaleScope scope(u"cs_CZ"_s);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &form = session.program().show<Form1>();
        session.milliseconds(400);
        if (minimizeChecked)
            Session::click(form, "Check1");
        QCOMPARE(form.checkBox("Check1").value(), minimizeChecked ? 1 : 0);

        Session::click(form, qPrintable(command));
        QCOMPARE(form.label("Label4").caption(), u"2,4"_s);
        QVERIFY(form.timer("Timer1").enabled());
        QVERIFY(form.timer("Timer2").enabled());
        QCOMPARE(form.minimized(), minimizeChecked);
        QVERIFY(!form.checkBox("Check1").enabled());

        // The minimize option stays locked; the bill option stays the user's to change.
        Session::click(form, "Check1");
        QCOMPARE(form.checkBox("Check1").value(), minimizeChecked ? 1 : 0);
        Session::click(form, "Check2");
        QCOMPARE(form.checkBox("Check2").value(), 0);
        Session::click(form, "Check2");
        QCOMPARE(form.checkBox("Check2").value(), 1);

        // The title shows the new price at its next tick, and the first second one second after Start.
        session.milliseconds(600);
        QCOMPARE(form.caption(), u"0:0:0 = 2,4 Kč"_s);
        session.milliseconds(400);
        QCOMPARE(form.label("Label1").caption(), u"1"_s);
    }

    void stopWithoutTheBillEndsTheProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("started");
        QTest::newRow("button, during a call") << u"Command3"_s << true;
        QTest::newRow("menu, during a call") << u"mnustop"_s << true;
        QTest::newRow("button, before Start") << u"Command3"_s << false;
    }

    void stopWithoutTheBillEndsTheProgram()
    {
        QFETCH(QString, command);
        QFETCH(bool, started);
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        bool ended = false;
        session.program().setEndHandler([&ended] { ended = true; });
        Form1 &form = session.program().show<Form1>();
        if (started)
            Session::click(form, "Command1");
        session.seconds(5);
        Session::click(form, "Check2");
        Session::click(form, qPrintable(command));
        QVERIFY(ended);
        QVERIFY(session.program().ended());
        QVERIFY(!RecordingView::of(form).shown());
        QVERIFY(!session.program().find<Form1>());
        session.seconds(5);
        session.program().flush();
    }

    void closingTheWindowEndsTheProgramWithoutABill()
    {
        RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
        Form1 &form = session.program().show<Form1>();
        Session::click(form, "Command1");
        session.seconds(3);
        RecordingView::of(form).closeWindow();
        QVERIFY(session.program().ended());
        session.seconds(3);
        session.program().flush();
    }
};

QTEST_GUILESS_MAIN(CallControlTest)
#include "call_control_test.moc"
