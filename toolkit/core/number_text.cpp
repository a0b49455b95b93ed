#include "number_text.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>

namespace tk {

namespace {

// Locales whose own numbers use other digits pair their separator with those digits; with plain digits they
// write a point, as the C library's data for them has it.
QChar separatorOf(const QLocale &locale)
{
    return locale.zeroDigit() == QLatin1String("0") ? locale.decimalPoint().front() : QLatin1Char('.');
}

QChar &decimalSeparator()
{
    static QChar separator = separatorOf(QLocale());
    return separator;
}

// The longest text that writing gives: a sign, 15 digits, the separator and an exponent of three digits.
constexpr std::size_t longestText = 24;

QString written(double value, bool whole)
{
    std::array<char, longestText> digits;
    const auto end =
        whole ? std::to_chars(digits.data(), digits.data() + digits.size(), static_cast<long long>(value))
              : std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general,
                              15);
    QString text = QString::fromLatin1(digits.data(), end.ptr - digits.data());
    if (const qsizetype point = text.indexOf(QLatin1Char('.')); point >= 0)
        text[point] = decimalSeparator();
    return text;
}

} // namespace

// Whole numbers below 10^15, the counters' and most prices' kind, are written as integers: the same text,
// a fraction of the work.
QString numberText(double value)
{
    constexpr double wholeLimit = 1e15;
    const bool whole = value > -wholeLimit && value < wholeLimit && std::trunc(value) == value &&
                       !(value == 0 && std::signbit(value));
    return written(value, whole);
}

double numberValue(QStringView text)
{
    const QChar separator = decimalSeparator();
    std::array<char, longestText> digits;
    bool readable = text.size() <= qsizetype(digits.size());
    qsizetype length = 0;
    for (; readable && length < text.size(); ++length) {
        const QChar c = text[length];
        if (c == separator)
            digits[length] = '.';
        else if (c.unicode() < 0x80 && c != QLatin1Char('.'))
            digits[length] = char(c.unicode());
        else
            readable = false;
    }
    double value = 0;
    if (readable) {
        const auto read = std::from_chars(digits.data(), digits.data() + length, value);
        readable = read.ec == std::errc() && read.ptr == digits.data() + length;
    }
    if (!readable)
        qFatal("The caption \"%s\" does not read as a number", qUtf8Printable(text.toString()));
    return value;
}

void setUserLocale(const QLocale &locale)
{
    QLocale::setDefault(locale);
    decimalSeparator() = separatorOf(locale);
}

} // namespace tk
