#include "date_text.h"

#include "number_text.h"

#include <QLocale>

namespace tk {

namespace {

QString digits(int value, qsizetype width)
{
    return numberText(value).rightJustified(width, QLatin1Char('0'));
}

} // namespace

// Digits are plain 0 to 9 whatever the user's number setting, as in every caption; only the weekday's name is
// the user's, in the language of their date setting. Written out here rather than through Qt's date
// patterns: the hour is rendered every second, and every second of a catch-up after a long sleep.
QString dateText(LocalMoment moment, QStringView pattern)
{
    using namespace std::chrono;
    const local_days day = floor<days>(moment);
    const year_month_day date(day);
    QString text;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar letter = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == letter)
            ++run;
        if (letter == u'd' && run >= 3)
            text += QLocale().dayName(int(weekday(day).iso_encoding()));
        else if (letter == u'd')
            text += digits(int(unsigned(date.day())), run);
        else if (letter == u'm')
            text += digits(int(unsigned(date.month())), run);
        else if (letter == u'y')
            text += digits(int(date.year()), 4);
        else if (letter == u'h')
            text += digits(int(hh_mm_ss(moment - day).hours().count()), 1);
        else
            text += pattern.mid(i, run);
        i += run;
    }
    return text;
}

} // namespace tk
