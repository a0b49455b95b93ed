#include "session.h"

#include <QScopeGuard>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

// Numbers and dates as the program writes them into captions, under the user's locale.
class TextTest : public QObject
{
    Q_OBJECT

private slots:
    void numberText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("Czech unit price") << u"cs_CZ"_s << 2.4 << u"2,4"_s;
        QTest::newRow("English unit price") << u"en_US"_s << 2.4 << u"2.4"_s;
        QTest::newRow("C locale") << u"C"_s << 2.4 << u"2.4"_s;
        QTest::newRow("whole value") << u"cs_CZ"_s << 12.0 << u"12"_s;
        QTest::newRow("zero") << u"cs_CZ"_s << 0.0 << u"0"_s;
        QTest::newRow("no thousands separator") << u"cs_CZ"_s << 1234567.5 << u"1234567,5"_s;
        QTest::newRow("no thousands separator, English") << u"en_US"_s << 98765.25 << u"98765.25"_s;
        QTest::newRow("binary noise rounded away") << u"cs_CZ"_s << 0.1 + 0.2 << u"0,3"_s;
        QTest::newRow("fifteen significant digits") << u"cs_CZ"_s << 1.0 / 3.0 << u"0,333333333333333"_s;
        QTest::newRow("hours of a long call") << u"cs_CZ"_s << 100000.0 << u"100000"_s;
    }

    void numberText()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        LocaleScope scope(locale);
        QCOMPARE(tk::numberText(value), text);
        QCOMPARE(tk::numberText(tk::numberValue(text)), text);
    }

    // Amounts go through text after every step, so they stay the decimals their text shows.
    void sumsThroughTextStayExact_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Czech") << u"cs_CZ"_s;
        QTest::newRow("English") << u"en_US"_s;
    }

    void sumsThroughTextStayExact()
    {
        QFETCH(QString, locale);
        LocaleScope scope(locale);
        QString amount = tk::numberText(0);
        for (int minute = 0; minute < 3; ++minute)
            amount = tk::numberText(tk::numberValue(amount) + 2.4 / 3);
        QCOMPARE(tk::numberValue(amount), 2.4);
        for (int minute = 0; minute < 997; ++minute)
            amount = tk::numberText(tk::numberValue(amount) + 2.4 / 6);
        QCOMPARE(amount, tk::numberText(401.2));
    }

    // Whatever digits the user's locale writes its own numbers in, number text is plain digits with the
    // user's decimal separator, and reads back as the number it holds.
    void numbersReadBackInEveryLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QChar>("separator");
        QTest::newRow("Czech") << u"cs_CZ"_s << QChar(u',');
        QTest::newRow("Swiss German") << u"de_CH"_s << QChar(u'.');
        QTest::newRow("French") << u"fr_FR"_s << QChar(u',');
        QTest::newRow("Arabic") << u"ar_EG"_s << QChar(u'.');
        QTest::newRow("Persian") << u"fa_IR"_s << QChar(u'.');
        QTest::newRow("Marathi") << u"mr_IN"_s << QChar(u'.');
        QTest::newRow("Bengali") << u"bn_BD"_s << QChar(u'.');
    }

    void numbersReadBackInEveryLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QChar, separator);
        LocaleScope scope(locale);
        const QLocale c = QLocale::c();
        for (const double value : {0.0, 7.0, 2.4, 0.1 + 0.2, 1.0 / 3.0, 1234567.5, 401.2, 1e20, 1e-7, -2.4}) {
            const QString plain = c.toString(value, 'g', 15);
            const QString text = tk::numberText(value);
            QCOMPARE(text, QString(plain).replace(u'.', separator));
            QCOMPARE(tk::numberValue(text), c.toDouble(plain));
        }
    }

    // A caption that writing cannot give ends the program with a report that names it: it never passes for
    // a number.
    void unreadableTextEndsTheProgram_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("words") << u"Klepněte na Start"_s;
        QTest::newRow("native digits") << u"١٠"_s;
        QTest::newRow("the other decimal separator") << u"2.4"_s;
        QTest::newRow("nothing") << QString();
    }

    void unreadableTextEndsTheProgram()
    {
        QFETCH(QString, text);
        if (OwnProcess::here()) {
            LocaleScope czech(u"cs_CZ"_s);
            tk::numberValue(text);
            return;
        }
        const OwnProcess row({});
        QVERIFY(!row.passed());
        QVERIFY2(row.output().contains(u"The caption \""_s + text + u"\" does not read as a number"_s),
                 qPrintable(row.output()));
    }

    void dateText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        const QDateTime monday = Session::at(2026, 12, 7, 9, 5, 3);
        const QDateTime march = Session::at(1998, 3, 6, 23, 59, 59);
        QTest::newRow("date") << u"cs_CZ"_s << monday << u"d.m.yyyy"_s << u"7.12.2026"_s;
        QTest::newRow("date without leading zeros") << u"cs_CZ"_s << march << u"d.m.yyyy"_s << u"6.3.1998"_s;
        QTest::newRow("date with leading zeros") << u"cs_CZ"_s << march << u"dd.mm.yyyy"_s << u"06.03.1998"_s;
        QTest::newRow("dots stay dots in English")
            << u"en_US"_s << march << u"dd.mm.yyyy"_s << u"06.03.1998"_s;
        QTest::newRow("month") << u"cs_CZ"_s << march << u"mm"_s << u"03"_s;
        QTest::newRow("year") << u"cs_CZ"_s << march << u"yyyy"_s << u"1998"_s;
        QTest::newRow("Czech weekday") << u"cs_CZ"_s << monday << u"dddd"_s << u"pondělí"_s;
        QTest::newRow("English weekday") << u"en_US"_s << monday << u"dddd"_s << u"Monday"_s;
        QTest::newRow("Czech Saturday") << u"cs_CZ"_s << monday.addDays(5) << u"dddd"_s << u"sobota"_s;
        QTest::newRow("morning hour") << u"cs_CZ"_s << monday << u"h"_s << u"9"_s;
        QTest::newRow("evening hour") << u"en_US"_s << march << u"h"_s << u"23"_s;
        QTest::newRow("midnight hour") << u"en_US"_s << march.addSecs(1) << u"h"_s << u"0"_s;
    }

    void dateText()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        LocaleScope scope(locale);
        const tk::LocalMoment local(
            std::chrono::milliseconds(moment.toMSecsSinceEpoch() + moment.offsetFromUtc() * 1000));
        QCOMPARE(tk::dateText(local, pattern), text);
    }

    // The local time is the C library's, for every form of TZ: a year walked in ten-minute steps, and second
    // by second through every step in which the offset changes.
    void localTimeIsTheCLibrarys_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<int>("changes");
        QTest::newRow("named zone") << "Europe/Prague"_ba << 2;
        QTest::newRow("zone file") << ":Europe/Prague"_ba << 2;
        QTest::newRow("rule") << "CET-1CEST,M3.5.0,M10.5.0/3"_ba << 2;
        QTest::newRow("half-hour summer time") << "Australia/Lord_Howe"_ba << 2;
        QTest::newRow("14 hours behind UTC") << "UTC+14"_ba << 0;
        QTest::newRow("14 hours ahead of UTC") << "UTC-14"_ba << 0;
        QTest::newRow("no such zone file") << ":Nowhere"_ba << 0;
        QTest::newRow("empty") << ""_ba << 0;
        QTest::newRow("invalid") << "<+"_ba << 0;
        QTest::newRow("the system's") << QByteArray() << -1;
    }

    void localTimeIsTheCLibrarys()
    {
        QFETCH(QByteArray, zone);
        QFETCH(int, changes);
        const QByteArray previous = qgetenv("TZ");
        const auto restore = qScopeGuard([&previous] {
            qputenv("TZ", previous);
            tzset();
        });
        if (zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        tzset();
        const auto expected = [](qint64 second) {
            const std::time_t moment = second;
            std::tm local{};
            localtime_r(&moment, &local);
            return (second + local.tm_gmtoff) * 1000;
        };
        const tk::LocalTime local;
        const auto matches = [&](qint64 second) {
            const qint64 given = local.at(second * 1000).time_since_epoch().count();
            if (given != expected(second))
                qWarning("at %lld s since the epoch: %lld ms, not %lld", second, given, expected(second));
            return given == expected(second);
        };
        constexpr qint64 step = 600;
        const qint64 start = QDateTime(QDate(2026, 1, 1), QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
        int changed = 0;
        for (qint64 second = start; second < start + 365 * 86400; second += step) {
            if (expected(second) - expected(second - step) != step * 1000) {
                ++changed;
                for (qint64 each = second - step + 1; each < second; ++each)
                    QVERIFY(matches(each));
            }
            QVERIFY(matches(second));
        }
        if (changes >= 0)
            QCOMPARE(changed, changes);
    }
};

QTEST_GUILESS_MAIN(TextTest)
#include "text_test.moc"
