#include "session.h"

#include <QTest>

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
        QTest::newRow("Czech unit price") << u"cs_CZ"_qs << 2.4 << u"2,4"_qs;
        QTest::newRow("English unit price") << u"en_US"_qs << 2.4 << u"2.4"_qs;
        QTest::newRow("C locale") << u"C"_qs << 2.4 << u"2.4"_qs;
        QTest::newRow("whole value") << u"cs_CZ"_qs << 12.0 << u"12"_qs;
        QTest::newRow("zero") << u"cs_CZ"_qs << 0.0 << u"0"_qs;
        QTest::newRow("no thousands separator") << u"cs_CZ"_qs << 1234567.5 << u"1234567,5"_qs;
        QTest::newRow("no thousands separator, English") << u"en_US"_qs << 98765.25 << u"98765.25"_qs;
        QTest::newRow("binary noise rounded away") << u"cs_CZ"_qs << 0.1 + 0.2 << u"0,3"_qs;
        QTest::newRow("fifteen significant digits") << u"cs_CZ"_qs << 1.0 / 3.0 << u"0,333333333333333"_qs;
        QTest::newRow("hours of a long call") << u"cs_CZ"_qs << 100000.0 << u"100000"_qs;
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
        QTest::newRow("Czech") << u"cs_CZ"_qs;
        QTest::newRow("English") << u"en_US"_qs;
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

    // Whatever path a number takes, it reads and writes as the user's locale does it, separators, signs,
    // exponents and digits of other scripts included.
    void numbersAgreeWithTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *name : {"cs_CZ", "en_US", "de_DE", "de_CH", "fr_FR", "ar_EG", "fa_IR", "C"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void numbersAgreeWithTheLocale()
    {
        QFETCH(QString, locale);
        LocaleScope scope(locale);
        QLocale reference;
        reference.setNumberOptions(QLocale::OmitGroupSeparator);
        for (const double value : {0.0, 7.0, 2.4, 0.1 + 0.2, 1.0 / 3.0, 1234567.5, 401.2, 1e20, 1e-7, -2.4}) {
            const QString text = reference.toString(value, 'g', 15);
            QCOMPARE(tk::numberText(value), text);
            QCOMPARE(tk::numberValue(text), reference.toDouble(text));
        }
        const QLocale grouped;
        const QString point = grouped.decimalPoint();
        const QStringList texts{grouped.toString(1234567.5),
                                grouped.toString(-12.5),
                                u"0"_qs + point + u"1000000000000000055511151231257827"_qs,
                                u"123456789012345678901234567890"_qs,
                                u"9007199254740993"_qs,
                                u" 12 "_qs,
                                u"12."_qs,
                                u".5"_qs,
                                u"1,2,3"_qs,
                                u"1.2.3"_qs,
                                u"1e3"_qs};
        for (const QString &text : texts) {
            bool ok = false;
            const double value = grouped.toDouble(text, &ok);
            QCOMPARE(tk::numberValue(text), ok ? value : 0.0);
        }
    }

    void unreadableTextReadsAsZero()
    {
        QCOMPARE(tk::numberValue(u"Klepněte na Start"_qs), 0.0);
        QCOMPARE(tk::numberValue(QString()), 0.0);
    }

    void dateText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        const QDateTime monday = Session::at(2026, 12, 7, 9, 5, 3);
        const QDateTime march = Session::at(1998, 3, 6, 23, 59, 59);
        QTest::newRow("date") << u"cs_CZ"_qs << monday << u"d.m.yyyy"_qs << u"7.12.2026"_qs;
        QTest::newRow("date without leading zeros")
            << u"cs_CZ"_qs << march << u"d.m.yyyy"_qs << u"6.3.1998"_qs;
        QTest::newRow("date with leading zeros")
            << u"cs_CZ"_qs << march << u"dd.mm.yyyy"_qs << u"06.03.1998"_qs;
        QTest::newRow("dots stay dots in English")
            << u"en_US"_qs << march << u"dd.mm.yyyy"_qs << u"06.03.1998"_qs;
        QTest::newRow("month") << u"cs_CZ"_qs << march << u"mm"_qs << u"03"_qs;
        QTest::newRow("year") << u"cs_CZ"_qs << march << u"yyyy"_qs << u"1998"_qs;
        QTest::newRow("Czech weekday") << u"cs_CZ"_qs << monday << u"dddd"_qs << u"pondělí"_qs;
        QTest::newRow("English weekday") << u"en_US"_qs << monday << u"dddd"_qs << u"Monday"_qs;
        QTest::newRow("Czech Saturday") << u"cs_CZ"_qs << monday.addDays(5) << u"dddd"_qs << u"sobota"_qs;
        QTest::newRow("morning hour") << u"cs_CZ"_qs << monday << u"h"_qs << u"9"_qs;
        QTest::newRow("evening hour") << u"en_US"_qs << march << u"h"_qs << u"23"_qs;
        QTest::newRow("midnight hour") << u"en_US"_qs << march.addSecs(1) << u"h"_qs << u"0"_qs;
    }

    void dateText()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        LocaleScope scope(locale);
        QCOMPARE(tk::dateText(moment, pattern), text);
    }
};

QTEST_MAIN(TextTest)
#include "text_test.moc"
