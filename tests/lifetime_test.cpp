#include "recording_view.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QCoreApplication>
#include <QTest>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The views, one per form, that exist once the event loop has turned.
int views()
{
    QCoreApplication::sendPostedEvents();
    return RecordingView::count();
}

// The sanitizer build asks the leak checker as well; elsewhere the count of views has to do.
bool leakCheckerFindsNothing()
{
#if defined(__SANITIZE_ADDRESS__)
    return __lsan_do_recoverable_leak_check() == 0;
#else
    return true;
#endif
}

} // namespace

// Windows live exactly as long as they should: what a program or a window leaves behind once it has gone
// is nothing at all.
class LifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void aLongCallAndItsBillLeaveNothingBehind()
    {
        {
            RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
            Form1 &main = session.program().show<Form1>();
            Session::click(main, "Command1");
            session.seconds(25 * 3600);
            QCoreApplication::processEvents();
            Session::click(main, "Command3");
            Form2 *bill = session.program().find<Form2>();
            QVERIFY(bill);
            QCoreApplication::processEvents();
            Session::click(*bill, "Command1");
            QVERIFY(session.program().ended());
        }
        QCOMPARE(views(), 0);
        QVERIFY(leakCheckerFindsNothing());
    }

    void theAboutWindowOpenedAndClosedAThousandTimesLeavesNothingBehind()
    {
        {
            RecordingSession session(RecordingSession::at(2026, 12, 7, 10));
            Form1 &main = session.program().show<Form1>();
            Session::click(main, "Command1");
            for (int time = 0; time < 1000; ++time) {
                Session::click(main, "mnuabout");
                session.milliseconds(250);
                Form3 *about = session.program().find<Form3>();
                QVERIFY(about);
                if (time % 2 == 0)
                    Session::click(*about, "Command2");
                else
                    RecordingView::of(*about).closeWindow();
                QVERIFY(!session.program().find<Form3>());
                if (time % 100 == 0)
                    QCOMPARE(views(), 1);
            }
            QCOMPARE(views(), 1);
        }
        QCOMPARE(views(), 0);
        QVERIFY(leakCheckerFindsNothing());
    }
};

QTEST_GUILESS_MAIN(LifetimeTest)
#include "lifetime_test.moc"
