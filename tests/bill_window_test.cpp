#include "recording_view.h"

#include <form1.h>
#include <form2.h>

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const tk::FormLayout otherLayout{.name = "Other", .clientWidth = 1500, .clientHeight = 1500, .controls = {}};

// Another open window of the program, standing in for the about window.
class Other final : public tk::Form
{
public:
    explicit Other(tk::Program &program) : tk::Form(program, otherLayout) {}
};

// Runs a call on the main window from `start`, `seconds` long (no Start at all when negative), and stops it
// with the bill option left checked.
Form2 &billAfter(RecordingSession &session, int seconds, const char *stop = "Command3")
{
    Form1 &main = session.program().show<Form1>();
    if (seconds >= 0)
        Session::click(main, "Command1");
    session.seconds(std::max(seconds, 0));
    Session::click(main, stop);
    Form2 *bill = session.program().find<Form2>();
    if (!bill)
        qFatal("Stop showed no bill");
    return *bill;
}

} // namespace

class BillWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void datedByTheDayItIsShown_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("issued");
        QTest::newRow("call from 31 March into April") << RecordingSession::at(1998, 3, 31, 23, 59, 30) << 60
                                                       << u"cs_CZ"_s << u"04/1998"_s << u"01.04.1998"_s;
        QTest::newRow("New Year's Day")
            << RecordingSession::at(1998, 1, 1, 9) << 10 << u"cs_CZ"_s << u"01/1998"_s << u"01.01.1998"_s;
        QTest::newRow("into a new year, English settings")
            << RecordingSession::at(2026, 12, 31, 23, 58) << 300 << u"en_US"_s << u"01/2027"_s
            << u"01.01.2027"_s;
    }

    void datedByTheDayItIsShown()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, seconds);
        QFETCH(QString, locale);
        QFETCH(QString, period);
        QFETCH(QString, issued);
        LocaleScope scope(locale);
        RecordingSession session(start);
        Form2 &bill = billAfter(session, seconds);
        QCOMPARE(bill.label("Label12").caption(), period);
        QCOMPARE(bill.label("Label13").caption(), issued);
        QCOMPARE(bill.label("Label21").caption(), issued);
    }

    void amountsAreThePriceTextAsShown_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("price");
        QTest::newRow("just started") << u"cs_CZ"_s << 0 << false << u"2,4"_s;
        QTest::newRow("two heavy units, from the menu") << u"cs_CZ"_s << 390 << true << u"7,2"_s;
        QTest::newRow("two heavy units, English settings") << u"en_US"_s << 390 << false << u"7.2"_s;
        QTest::newRow("never started") << u"cs_CZ"_s << -1 << false << u"0"_s;
    }

    void amountsAreThePriceTextAsShown()
    {
        QFETCH(QString, locale);
        QFETCH(int, seconds);
        QFETCH(bool, fromMenu);
        QFETCH(QString, price);
        LocaleScope scope(locale);
        RecordingSession session(RecordingSession::at(1998, 3, 6, 10));
        Form1 &main = session.program().show<Form1>();
        Form2 &bill = billAfter(session, seconds, fromMenu ? "mnustop" : "Command3");
        QCOMPARE(main.label("Label4").caption(), price);
        QCOMPARE(bill.label("Label16").caption(), price);
        QCOMPARE(bill.label("Label19").caption(), price);
        // The bill takes the main window's place.
        QVERIFY(!session.program().find<Form1>());
        QVERIFY(!session.program().ended());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(RecordingView::count(), 1);
        QVERIFY(RecordingView::of(bill).shown());
    }

    void theButtonEndsTheProgram()
    {
        RecordingSession session(RecordingSession::at(1998, 3, 6, 10));
        session.program().show<Other>();
        Form2 &bill = billAfter(session, 30);
        Session::click(bill, "Command1");
        QVERIFY(session.program().ended());
        QVERIFY(!session.program().find<Other>());
    }

    // Closing from the frame unloads the bill and nothing else: the program ends only if it was the last.
    void closingTheFrameRunsNoHandler_data()
    {
        QTest::addColumn<bool>("otherOpen");
        QTest::newRow("bill alone") << false;
        QTest::newRow("another window open") << true;
    }

    void closingTheFrameRunsNoHandler()
    {
        QFETCH(bool, otherOpen);
        RecordingSession session(RecordingSession::at(1998, 3, 6, 10));
        if (otherOpen)
            session.program().show<Other>();
        Form2 &bill = billAfter(session, 30);
        RecordingView::of(bill).closeWindow();
        QVERIFY(!session.program().find<Form2>());
        QCOMPARE(session.program().ended(), !otherOpen);
        QCOMPARE(session.program().find<Other>() != nullptr, otherOpen);
    }
};

QTEST_GUILESS_MAIN(BillWindowTest)
#include "bill_window_test.moc"
