#include "number_text.h"

#include <QLocale>

#include <optional>

namespace tk {

namespace {

// The user's locale for numbers. Where it is the system's, Qt asks the system again for every character it
// converts; a locale made from the same language, script and territory reads Qt's own tables and writes the
// same text, so it is made once, and again only when the user's locale changes.
const QLocale &numberLocale()
{
    thread_local std::optional<QLocale> user;
    thread_local QLocale numbers;
    if (const QLocale current; current != user) {
        user = current;
        numbers = QLocale(current.language(), current.script(), current.territory());
        numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    }
    return numbers;
}

} // namespace

QString numberText(double value)
{
    return numberLocale().toString(value, 'g', 15);
}

double numberValue(const QString &text)
{
    bool ok = false;
    const double value = numberLocale().toDouble(text, &ok);
    return ok ? value : 0.0;
}

} // namespace tk
