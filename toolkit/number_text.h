#pragma once

#include <QString>

namespace tk {

// Numbers as the program keeps them in captions: at most 15 significant digits, no trailing zeros, no
// separator for whole values, no thousands separator, and the user's decimal separator. Every amount is
// written back as text at once, so a stored amount is always the decimal that its text shows.
QString numberText(double value);
double numberValue(const QString &text);

} // namespace tk
