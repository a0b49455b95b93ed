#include "date_text.h"

#include <QLocale>

namespace tk {

// Digits are plain 0 to 9 whatever the user's number setting, as in every caption; only the weekday's name is
// the user's, in the language of their date setting.
QString dateText(const QDateTime &moment, QStringView pattern)
{
    QString qtPattern = pattern.toString();
    qtPattern.replace(QLatin1Char('m'), QLatin1Char('M')).replace(QLatin1Char('h'), QLatin1Char('H'));
    if (qtPattern.contains(QLatin1String("dddd"))) {
        QString weekday = QLocale().dayName(moment.date().dayOfWeek());
        weekday.replace(QLatin1Char('\''), QLatin1String("''"));
        qtPattern.replace(QLatin1String("dddd"), QLatin1Char('\'') + weekday + QLatin1Char('\''));
    }
    return QLocale::c().toString(moment, qtPattern);
}

} // namespace tk
