// Display and printer texts. A line is a string of display symbols, one per cell:
// "0"-"9", "P" point, "M" minus, "A" "B" "C" "D" the other glyphs, "S" a blank cell.
#include <algorithm>

#include "engine/calculator.h"

namespace orrindale {

namespace {

char SymbolOf(int32_t word) {
    return "0123456789MABPCD"[word & kDigitMask];
}

bool IsBlank(const TCalcRegister& r, int word) {
    return (r[word] & kBlankBit) != 0;
}

char RowSymbol(int value) {
    return "0123456789ABCD??"[value & 15];
}

// The three group blanks of the display (the printer line has none).
void InsertGroupBlanks(std::string& t) {
    for (size_t at : {6u, 10u, 14u})
        t.insert(at, 1, 'S');
}

std::string RawLine(const std::string& mantissa, const std::string& exponent, bool printer) {
    std::string t = mantissa + "SS" + exponent;
    t.insert(2, 1, 'P');
    if (!printer) InsertGroupBlanks(t);
    return t;
}

std::string ScientificLine(const TCalcRegister& r, std::string mantissa, bool printer) {
    for (int k = 2; k <= 10; ++k)
        if (IsBlank(r, 10 - k)) mantissa[static_cast<size_t>(k - 1)] = 'S';
    std::string t = (IsNegative(r, SignOf::Mantissa) ? "M" : "S") + mantissa;
    t += IsNegative(r, SignOf::Exponent) ? 'M' : 'S';
    t += static_cast<char>('0' + (r[kExpTens] & kDigitMask));
    t += static_cast<char>('0' + (r[kExpUnits] & kDigitMask));
    t.insert(2, 1, 'P');
    if (!printer) InsertGroupBlanks(t);
    return t;
}

// Rounds the digit string at the digit before 1-based position `at`; true when the carry
// runs out of the leftmost digit.
bool RoundDigitsAt(std::string& t, int at) {
    if (at < 1 || at > static_cast<int>(t.size()) || t[static_cast<size_t>(at - 1)] < '5')
        return false;
    for (int i = at - 2; i >= 0; --i) {
        char& c = t[static_cast<size_t>(i)];
        if (c == '9') {
            c = '0';
        } else {
            ++c;
            return false;
        }
    }
    return true;
}

size_t DigitsAfterPoint(const std::string& t) {
    const size_t point = t.find('P');
    return point == std::string::npos ? 0 : t.size() - 1 - point;
}

} // namespace

std::string Calculator::FormatRegister(const TCalcRegister& r, bool printer,
                                       bool exponentEntry) const {
    std::string mantissa, exponent;
    for (int word = kLeadWord; word >= 0; --word)
        mantissa += SymbolOf(r[word]);
    exponent += SymbolOf(r[kExpTens]);
    exponent += SymbolOf(r[kExpUnits]);
    auto isDigits = [](const std::string& s) {
        return s.find_first_not_of("0123456789") == std::string::npos;
    };
    // A register holding program codes shows its words raw.
    if (!isDigits(mantissa) || !isDigits(exponent)) return RawLine(mantissa, exponent, printer);

    const int e = 10 * (r[kExpTens] & kDigitMask) + (r[kExpUnits] & kDigitMask);
    // An exponent of -00 (left by ENTER EXP, CHG SIGN) is 10^0: the number is not a fraction.
    const bool negativeExp = IsNegative(r, SignOf::Exponent) && e > 0;
    const int n = std::clamp(DecimalWheel, 0, 9);
    // The fixed field holds ten digits: integer digits and the wheel's fraction digits.
    const int integerDigits = negativeExp ? 0 : e + 1;
    if (FloatMode || exponentEntry || n + integerDigits > 10)
        return ScientificLine(r, mantissa, printer);

    // Fixed format.
    std::string t = mantissa + static_cast<char>('0' + DigitOf(r[kGuard1]));
    const int shift = negativeExp ? e - 1 : 0; // zeros put in front of a fraction's digits
    for (int i = 0; i < shift; ++i) {
        t.pop_back();
        t.insert(t.begin(), '0');
    }
    const int j = negativeExp ? 1 : e + 2; // 1-based position of the first fraction digit
    const bool carry = RoundDigitsAt(t, j + n);
    // A carry out of the leading digit adds an integer digit (9999999999.5 becomes 1E10); when
    // the field has no room for it the number is shown as one too large for the field is.
    if (carry && n + integerDigits + 1 > 10) return ScientificLine(r, mantissa, printer);
    t.pop_back();
    // Each digit keeps its own blank bit as it moves right; the zeros put in front show, so a
    // computed 0.0025 reads .0025 rather than losing its digits to the blank bits of the
    // words now standing where they do.
    for (int k = shift + 1; k <= 10; ++k)
        if (IsBlank(r, 10 - (k - shift))) t[static_cast<size_t>(k - 1)] = 'S';
    t.insert(static_cast<size_t>(j - 1), 1, 'P');
    const size_t lastShown = t.find('P') + static_cast<size_t>(n);
    for (size_t i = lastShown + 1; i + 1 < t.size(); ++i)
        t[i] = 'S';
    if (carry) {
        t.insert(t.begin(), '1');
        t.pop_back();
    }
    if (t.rfind("SPS", 0) == 0) {
        t[0] = '0';
    } else if (t.rfind("0P", 0) == 0) {
        t[0] = 'S';
    } else if (t.rfind("PS", 0) == 0) {
        t.insert(t.begin(), '0');
        t.pop_back();
    }
    if (IsNegative(r, SignOf::Mantissa)) t.insert(t.begin(), 'M');
    // Right-align at the point: the line ends with the last digit the wheel shows. The point
    // is always there (a carry that would push it out goes to scientific format above).
    while (DigitsAfterPoint(t) > static_cast<size_t>(n)) {
        t.pop_back();
        t.insert(t.begin(), 'S');
    }
    while (t.size() < 12)
        t.insert(t.begin(), 'S');
    return t;
}

std::string Calculator::FormatProgramLine(int which) const {
    int row = PcRow, step = PcStep;
    if (which == 1) AdvancePc(row, step);
    std::string t;
    t += row >= 16 ? 'M' : 'S';
    t += RowSymbol(row >= 16 ? row - 16 : row);
    t += 'P';
    t += RowSymbol(step);
    t += "MMMMMMMMM";
    t += FormatKeyCode(RegisterFile[static_cast<size_t>(row & 63)][step] & kWordMask, 2);
    return t;
}

DisplayTexts Calculator::DisplayLines() const {
    if (ProgramMode || ListingMode != 0)
        return {FormatProgramLine(1), FormatRegister(YReg, false, false), FormatProgramLine(0)};
    return {FormatRegister(ZReg, false, false), FormatRegister(YReg, false, false),
            FormatRegister(XReg, false, Flags.ExponentEntry != 0)};
}

DisplayTexts Calculator::TakeDisplayLines() {
    DisplayTexts lines = DisplayLines();
    FunctionResult = false;
    return lines;
}

} // namespace orrindale
