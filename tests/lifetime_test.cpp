#include "window_session.h"

#include <form1.h>
#include <form2.h>
#include <form3.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The widgets that exist once every deferred deletion has run.
qsizetype widgets()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return QApplication::allWidgets().size();
}

// The sanitizer build asks the leak checker as well; elsewhere the count of widgets has to do.
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
        const qsizetype before = widgets();
        {
            WindowSession session(WindowSession::at(2026, 12, 7, 10));
            Form1 &main = session.program().show<Form1>();
            WindowSession::click(main, "Command1");
            session.seconds(25 * 3600);
            QCoreApplication::processEvents();
            WindowSession::click(main, "Command3");
            Form2 *bill = session.program().find<Form2>();
            QVERIFY(bill);
            QCoreApplication::processEvents();
            WindowSession::click(*bill, "Command1");
            QVERIFY(session.program().ended());
        }
        QCOMPARE(widgets(), before);
        QVERIFY(leakCheckerFindsNothing());
    }

    void theAboutWindowOpenedAndClosedAThousandTimesLeavesNothingBehind()
    {
        const qsizetype before = widgets();
        {
            WindowSession session(WindowSession::at(2026, 12, 7, 10));
            Form1 &main = session.program().show<Form1>();
            WindowSession::click(main, "Command1");
            const qsizetype withMain = widgets();
            for (int time = 0; time < 1000; ++time) {
                WindowSession::click(main, "mnuabout");
                session.milliseconds(250);
                Form3 *about = session.program().find<Form3>();
                QVERIFY(about);
                if (time % 2 == 0)
                    WindowSession::click(*about, "Command2");
                else
                    tk::windowOf(*about)->close();
                QVERIFY(!session.program().find<Form3>());
                if (time % 100 == 0)
                    QCOMPARE(widgets(), withMain);
            }
            QCOMPARE(widgets(), withMain);
        }
        QCOMPARE(widgets(), before);
        QVERIFY(leakCheckerFindsNothing());
    }
};

QTEST_MAIN(LifetimeTest)
#include "lifetime_test.moc"
