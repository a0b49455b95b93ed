#include <system_clock.h>

#include <QTest>

#include <ctime>

// The real clock counts the time the machine sleeps. A time namespace whose boot-time clock leads the
// monotonic one stands in for a suspend: boot_time_test.sh runs this test in one and tells the lead in
// ZELVOR_BOOT_TIME_LEAD (seconds).
class BootTimeTest : public QObject
{
    Q_OBJECT

private slots:
    void countsTimeAsleep()
    {
        const tk::Ms lead = qEnvironmentVariableIntValue("ZELVOR_BOOT_TIME_LEAD") * tk::Ms{1000};
        QVERIFY2(lead > 0, "boot_time_test.sh runs this test in a time namespace");
        timespec awake{};
        clock_gettime(CLOCK_MONOTONIC, &awake);
        const tk::Ms awakeMs = tk::Ms{awake.tv_sec} * 1000 + awake.tv_nsec / 1'000'000;
        const tk::Ms counted = tk::SystemClock().monotonic();
        QVERIFY2(counted - awakeMs >= lead,
                 qPrintable(QStringLiteral("the clock leads the time awake by %1 ms, not by the %2 ms asleep")
                                .arg(counted - awakeMs)
                                .arg(lead)));
    }
};

QTEST_GUILESS_MAIN(BootTimeTest)
#include "boot_time_test.moc"
