#pragma once

#include <QString>

class QLocale;

namespace tk {

// Numbers as the program keeps them in captions: plain digits 0 to 9 in every locale, at most 15 significant
// digits, no trailing zeros, no separator for whole values, no thousands separator, and the user's decimal
// separator. Every amount is written back as text at once, so a stored amount is always the decimal that its
// text shows. Reading is the exact inverse of writing; a text that writing cannot give ends the program with
// a report that names it, rather than passing for some number.
QString numberText(double value);
double numberValue(QStringView text);

// The user's regional settings are Qt's default locale, the system's unless set: numbers take their decimal
// separator from it (LC_ALL, else LC_NUMERIC, else LANG) and dates their weekday names (likewise through
// LC_TIME). The separator is read once, on first use, as the environment that chose it cannot change while
// the program runs; setUserLocale puts other settings in place and reads it again.
void setUserLocale(const QLocale &locale);

} // namespace tk
