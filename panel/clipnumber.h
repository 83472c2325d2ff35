// Numbers to and from the clipboard: X as other programs read it, and a number from elsewhere
// as the keys that type it.
#pragma once

#include <QString>
#include <vector>

#include "engine/calculator.h"

namespace orrindale {

// The number X shows, as text ("15", "-1.25E-3"); empty when X shows none (dark, or a program
// step).
QString NumberShown(const DisplayTexts& lines);

// The calculator keys (positions) that type the number `text` holds: digits, the point, CHG
// SIGN and ENTER EXP, at most ten significant digits (more are rounded away) and an exponent of
// two digits. Empty when the text is no number or one out of the calculator's range.
std::vector<int> KeysOfNumber(const QString& text);

} // namespace orrindale
