#include "date_text.h"

#include <QLocale>

namespace tk {

QString dateText(const QDateTime &moment, QStringView pattern)
{
    QString qtPattern = pattern.toString();
    qtPattern.replace(QLatin1Char('m'), QLatin1Char('M')).replace(QLatin1Char('h'), QLatin1Char('H'));
    return QLocale().toString(moment, qtPattern);
}

} // namespace tk
