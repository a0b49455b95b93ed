#pragma once

namespace tk {

// Lets screen readers read a label that has a name of its own (a price, a date) as that name with the
// label's caption as its value and text; Qt would otherwise offer the name alone. Safe to call repeatedly.
void installAccessibility();

} // namespace tk
