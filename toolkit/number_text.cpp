#include "number_text.h"

#include <QLocale>

namespace tk
{

QString numberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

double numberValue(const QString &text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text, &ok);
    return ok ? value : 0.0;
}

} // namespace tk
