#include "session.h"

#include <form1.h>

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A call started 0.3 s after the main window opened at `start`, so that the call's seconds and the
// window's own timers tick at different moments, as they do for a real user. It is then looked at on the
// window's whole seconds, just after the title and the unit clock have ticked.
class Call
{
public:
    explicit Call(const QDateTime &start) : session_(start), form_(session_.program().show<Form1>())
    {
        session_.milliseconds(300);
        Session::click(form_, "Command1");
        session_.milliseconds(700);
    }

    Session &session() { return session_; }
    Form1 &form() { return form_; }
    QString caption(const char *label) const { return form_.label(label).caption(); }
    QString elapsed() const
    {
        return caption("Label3") + u':' + caption("Label2") + u':' + caption("Label1");
    }
    QString price() const { return caption("Label4"); }

    // Runs the call on second by second for `seconds`, noting the elapsed time whenever the price changes
    // (and any unit count found past its boundary).
    QStringList priceChanges(int seconds)
    {
        QStringList changes{elapsed() + u" = "_s + price()};
        for (int second = 0; second < seconds; ++second) {
            const QString before = price();
            session_.seconds(1);
            if (tk::numberValue(caption("Label20")) > 180 || tk::numberValue(caption("Label18")) > 360)
                changes << elapsed() + u": a unit count passed its boundary"_s;
            if (price() != before)
                changes << elapsed() + u" = "_s + price();
        }
        return changes;
    }

private:
    Session session_;
    Form1 &form_;
};

} // namespace

// The elapsed time, the tariff periods and the charge-unit clocks of a running call.
class MeteringTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { scope_ = std::make_unique<LocaleScope>(u"cs_CZ"_s); }
    void cleanup() { scope_.reset(); }

    void thePriceRisesAtEveryUnitBoundary_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("heavy traffic")
            << Session::at(2026, 12, 7, 10) << 10
            << QStringList{u"0:0:0 = 2,4"_s, u"0:3:2 = 4,8"_s, u"0:6:3 = 7,2"_s, u"0:9:4 = 9,6"_s};
        QTest::newRow("light traffic")
            << Session::at(2026, 12, 7, 20) << 19
            << QStringList{u"0:0:0 = 2,4"_s, u"0:6:2 = 3,6"_s, u"0:12:3 = 6"_s, u"0:18:4 = 8,4"_s};
        // From light to heavy at 06:00: the light clock's 118 counted seconds are dropped, and the first
        // heavy boundary prices two light minutes and four heavy ones.
        QTest::newRow("into heavy traffic")
            << Session::at(2026, 12, 7, 5, 58) << 10
            << QStringList{u"0:0:0 = 2,4"_s, u"0:5:1 = 5,6"_s, u"0:8:2 = 8"_s};
        QTest::newRow("into light traffic")
            << Session::at(2026, 12, 7, 18, 58) << 15
            << QStringList{u"0:0:0 = 2,4"_s, u"0:8:1 = 5,2"_s, u"0:14:2 = 7,6"_s};
        // Back in a period left hours ago, its unit clock counts from 0 again, not from where it stopped:
        // the rows list the first changes, then (after "…") the last ones.
        QTest::newRow("light, heavy, light again")
            << Session::at(2026, 12, 7, 5, 58) << 13 * 60 + 20
            << QStringList{u"0:0:0 = 2,4"_s,     u"0:5:1 = 5,6"_s,    u"…"_s,
                           u"13:0:18 = 625,6"_s, u"13:8:1 = 628,4"_s, u"13:14:2 = 630,8"_s};
        QTest::newRow("heavy, light, heavy again")
            << Session::at(2026, 12, 7, 18, 58) << 11 * 60 + 20
            << QStringList{u"0:0:0 = 2,4"_s,      u"0:8:1 = 5,2"_s,     u"…"_s,
                           u"10:57:49 = 264,8"_s, u"11:5:1 = 270,4"_s,  u"11:8:2 = 272,8"_s,
                           u"11:11:3 = 275,2"_s,  u"11:14:4 = 277,6"_s, u"11:17:5 = 280"_s};
    }

    void thePriceRisesAtEveryUnitBoundary()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, minutes);
        QFETCH(QStringList, changes);
        Call call(start);
        const QStringList observed = call.priceChanges(minutes * 60);
        const qsizetype gap = changes.indexOf(u"…"_s);
        if (gap < 0) {
            QCOMPARE(observed, changes);
            return;
        }
        QCOMPARE(observed.first(gap), changes.first(gap));
        QCOMPARE(observed.last(changes.size() - gap - 1), changes.last(changes.size() - gap - 1));
    }

    void theAccruedAmountGrowsEveryMinuteBetweenBoundaries()
    {
        Call call(Session::at(2026, 12, 7, 10));
        call.session().seconds(2);
        QCOMPARE(call.caption("Label16"), u"0,8"_s);
        call.session().seconds(60);
        QCOMPARE(call.caption("Label16"), u"1,6"_s);
        QCOMPARE(call.price(), u"2,4"_s);
    }

    void thePeriodFollowsTheHourOfDayAlone_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("period");
        for (int day : {7, 12, 13}) { // a Monday, a Saturday and a Sunday
            const QString weekday = QLocale(u"en_US"_s).dayName(QDate(2026, 12, day).dayOfWeek());
            const auto row = [&](int hour, int minute, const char *period) {
                QTest::addRow("%s %02d:%02d", qPrintable(weekday), hour, minute)
                    << Session::at(2026, 12, day, hour, minute, 0) << QString::fromUtf8(period);
            };
            row(0, 0, "slabý");
            row(5, 58, "slabý");
            row(6, 0, "silný");
            row(18, 58, "silný");
            row(19, 0, "slabý");
            row(23, 58, "slabý");
        }
    }

    void thePeriodFollowsTheHourOfDayAlone()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, period);
        Session session(start);
        Form1 &form = session.program().show<Form1>();
        session.seconds(30);
        QCOMPARE(form.label("Label14").caption(), u"Klepněte na Start"_s);
        QCOMPARE(form.label("Label4").caption(), u"0"_s);
        Session::click(form, "Command1");
        session.seconds(2);
        QCOMPARE(form.label("Label14").caption(), period);
    }

    void theElapsedTimeCarriesIntoMinutesAndHours()
    {
        Call call(Session::at(2026, 12, 7, 10));
        call.session().seconds(59);
        QCOMPARE(call.elapsed(), u"0:0:59"_s);
        call.session().seconds(1);
        QCOMPARE(call.elapsed(), u"0:1:0"_s);
        call.session().seconds(59 * 60);
        QCOMPARE(call.elapsed(), u"1:0:0"_s);
    }

    // A call of a day or more shows its true length: the hours count on past 24.
    void aDayLongCallKeepsCountingHours()
    {
        Call call(Session::at(2026, 12, 7, 10));
        call.session().seconds(25 * 3600 + 7);
        QCOMPARE(call.elapsed(), u"25:0:7"_s);
        call.session().seconds(1);
        QCOMPARE(call.form().caption(), u"25:0:8 = "_s + call.price() + u" Kč"_s);
    }

    // A Start given during a call keeps the price reached so far; the unit clock goes on as before.
    void aSecondStartNeverLowersThePrice()
    {
        Call call(Session::at(2026, 12, 7, 10));
        call.session().seconds(190);
        QCOMPARE(call.price(), u"4,8"_s);
        Session::click(call.form(), "mnustart");
        QCOMPARE(call.price(), u"4,8"_s);
        QCOMPARE(call.elapsed(), u"0:3:10"_s);
        call.session().seconds(180);
        QCOMPARE(call.price(), u"7,2"_s);
    }

    // However the loop is held up, or however long the computer sleeps, every second is counted and
    // priced by the hour in which it passed: one jump ends where a second-by-second run does.
    void aStallOrSleepLosesNothing_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("stall");
        QTest::newRow("ten seconds over a minute's first second") << Session::at(2026, 12, 7, 10) << 55 << 10;
        QTest::newRow("a long stall in heavy traffic") << Session::at(2026, 12, 7, 10) << 100 << 2000;
        QTest::newRow("asleep across 19:00") << Session::at(2026, 12, 7, 18, 30) << 65 << 3 * 3600;
        QTest::newRow("asleep across 06:00 and midnight") << Session::at(2026, 12, 7, 23) << 5 << 8 * 3600;
    }

    void aStallOrSleepLosesNothing()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, before);
        QFETCH(int, stall);
        Call stepped(start);
        Call stalled(start);
        stepped.session().seconds(before);
        stalled.session().seconds(before);
        for (int second = 0; second < stall; ++second)
            stepped.session().seconds(1);
        stalled.session().seconds(stall);
        for (const char *label :
             {"Label1", "Label2", "Label3", "Label4", "Label13", "Label14", "Label16", "Label18", "Label20"})
            QCOMPARE(stalled.caption(label), stepped.caption(label));
        QCOMPARE(stalled.form().caption(), stepped.form().caption());
        QCOMPARE(stalled.elapsed(), QTime(0, 0).addSecs(before + stall).toString(u"H:m:s"));
    }

    // The decimal separator is that of the user's number setting, found as the C library finds it: LC_ALL,
    // else LC_NUMERIC, else LANG. Where the user's numbers have digits of their own, captions keep plain
    // digits, which read back as the numbers they hold: the hour picks the tariff, and the window shows one
    // kind of digit. The weekday follows the date setting.
    void captionsFollowTheUsersRegionalSettings_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("weekday");
        const auto row = [](const char *name, std::initializer_list<QString> environment, char16_t separator,
                            const QString &weekday) {
            QTest::newRow(name) << QStringList(environment) << QChar(separator) << weekday;
        };
        row("Czech", {u"LANG=cs_CZ.UTF-8"_s}, u',', u"pondělí"_s);
        row("English", {u"LANG=en_US.UTF-8"_s}, u'.', u"Monday"_s);
        row("English language, Czech numbers", {u"LANG=en_US.UTF-8"_s, u"LC_NUMERIC=cs_CZ.UTF-8"_s}, u',',
            u"Monday"_s);
        row("Czech language, English numbers", {u"LANG=cs_CZ.UTF-8"_s, u"LC_NUMERIC=en_US.UTF-8"_s}, u'.',
            u"pondělí"_s);
        row("English over all", {u"LC_ALL=en_US.UTF-8"_s, u"LC_NUMERIC=cs_CZ.UTF-8"_s}, u'.', u"Monday"_s);
        row("Arabic numbers", {u"LANG=en_US.UTF-8"_s, u"LC_NUMERIC=ar_EG.UTF-8"_s}, u'.', u"Monday"_s);
        row("Persian numbers", {u"LANG=cs_CZ.UTF-8"_s, u"LC_NUMERIC=fa_IR.UTF-8"_s}, u'.', u"pondělí"_s);
        row("Marathi numbers", {u"LANG=en_US.UTF-8"_s, u"LC_NUMERIC=mr_IN.UTF-8"_s}, u'.', u"Monday"_s);
        row("Bengali numbers", {u"LANG=cs_CZ.UTF-8"_s, u"LC_NUMERIC=bn_BD.UTF-8"_s}, u'.', u"pondělí"_s);
        row("Arabic throughout", {u"LANG=ar_EG.UTF-8"_s}, u'.', u"الاثنين"_s);
    }

    void captionsFollowTheUsersRegionalSettings()
    {
        QFETCH(QStringList, environment);
        QFETCH(QChar, separator);
        QFETCH(QString, weekday);
        if (!inOwnProcess(environment))
            return;
        Call call(Session::at(2026, 12, 7, 10));
        QStringList changes{u"0:0:0 = 2.4"_s, u"0:3:2 = 4.8"_s, u"0:6:3 = 7.2"_s};
        for (QString &change : changes)
            change.replace(u'.', separator);
        QCOMPARE(call.priceChanges(7 * 60), changes);
        QCOMPARE(call.caption("Label13"), u"10"_s);
        QCOMPARE(call.form().caption(), u"0:7:0 = 7"_s + separator + u"2 Kč"_s);
        QCOMPARE(call.caption("Label10"), u"7.12.2026"_s);
        QCOMPARE(call.caption("Label11"), weekday);
    }

    void afterStopNothingChanges()
    {
        Call call(Session::at(2026, 12, 7, 10));
        call.session().seconds(200);
        Session::click(call.form(), "Check2");
        const QString title = call.form().caption();
        Session::click(call.form(), "Command3");
        call.session().seconds(500);
        QCOMPARE(call.form().caption(), title);
        QCOMPARE(call.elapsed(), u"0:3:20"_s);
    }

private:
    std::unique_ptr<LocaleScope> scope_;
};

QTEST_GUILESS_MAIN(MeteringTest)
#include "metering_test.moc"
