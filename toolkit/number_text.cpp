#include "number_text.h"

#include <QLocale>

#include <algorithm>
#include <charconv>

namespace tk {

// Plain decimals, the only numbers the program writes, are converted through the C locale with the user's
// decimal point put in or taken out. Where the user's locale is the system's, Qt asks the system again for
// every character it converts, which made these conversions most of the cost of a tick. Anything else
// (signs, exponents, separators, other digits) goes through the user's locale as a whole.

namespace {

bool digits(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Digits with at most one point between them, as the C locale has them; correctly rounded, as Qt reads them.
double plainValue(const QString &text)
{
    const QByteArray latin1 = text.toLatin1();
    double value = 0;
    std::from_chars(latin1.data(), latin1.data() + latin1.size(), value);
    return value;
}

} // namespace

QString numberText(double value)
{
    const QLocale locale;
    if (locale.zeroDigit() == u"0") {
        const QString plain = QLocale::c().toString(value, 'g', 15);
        const qsizetype point = plain.indexOf(u'.');
        if (point < 0 && digits(plain))
            return plain;
        if (point >= 0 && digits(QStringView(plain).left(point)) && digits(QStringView(plain).mid(point + 1)))
            return QString(plain).replace(point, 1, locale.decimalPoint());
    }
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    return numbers.toString(value, 'g', 15);
}

double numberValue(const QString &text)
{
    const QLocale locale;
    if (locale.zeroDigit() == u"0") {
        const QString point = locale.decimalPoint();
        const qsizetype at = text.indexOf(point);
        if (at < 0 && digits(text))
            return plainValue(text);
        if (at >= 0 && digits(QStringView(text).left(at)) && digits(QStringView(text).mid(at + point.size())))
            return plainValue(QString(text).replace(at, point.size(), u'.'));
    }
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    return ok ? value : 0.0;
}

} // namespace tk
