#include "engine/registers.h"

#include <cmath>

#include "engine/decimal.h"

namespace orrindale {

void ClearReg(TCalcRegister& r, bool blank) {
    r.w.fill(blank ? kBlankBit : 0);
    // The exponent words are never blank.
    r[kExpUnits] &= 0x1F;
    r[kExpTens] &= 0x1F;
}

bool IsNegative(const TCalcRegister& r, SignOf which) {
    int word = which == SignOf::Mantissa ? kLeadWord : kExpTens;
    return (r[word] & kSignBit) != 0;
}

bool RegToExt(const TCalcRegister& r, long double& out) {
    // d1 . d2 ... d10 d11 d12: words 9..0, then 13, then 12.
    uint64_t mantissa = 0;
    for (int word = kLeadWord; word >= 0; --word)
        mantissa = mantissa * 10 + DigitOf(r[word]);
    mantissa = mantissa * 10 + DigitOf(r[kGuard1]);
    mantissa = mantissa * 10 + DigitOf(r[kGuard2]);
    int exponent = 10 * DigitOf(r[kExpTens]) + DigitOf(r[kExpUnits]);
    if (IsNegative(r, SignOf::Exponent)) exponent = -exponent;
    long double value = FromDecimal(mantissa, exponent - 11);
    out = IsNegative(r, SignOf::Mantissa) ? -value : value;
    return true;
}

bool ExtToReg(TCalcRegister& r, long double x) {
    if (!std::isfinite(x)) {
        ClearReg(r, true);
        return false;
    }
    DecimalNumber d = ToDecimal(x, 12);
    int digits[12];
    uint64_t m = d.mantissa;
    for (int i = 11; i >= 0; --i) {
        digits[i] = static_cast<int>(m % 10);
        m /= 10;
    }
    for (int i = 0; i < 10; ++i) {
        int word = kLeadWord - i;
        r[word] = (r[word] & (kSignBit | kBlankBit)) | digits[i];
    }
    r[kGuard1] = digits[10];
    r[kGuard2] = digits[11];
    // The exponent is written with at least two digits; callers pass limited values, so
    // there are exactly two.
    int e = d.exponent < 0 ? -d.exponent : d.exponent;
    int first = e >= 100 ? (e / 100) % 10 : e / 10;
    int second = e >= 100 ? (e / 10) % 10 : e % 10;
    r[kExpTens] = first;
    r[kExpUnits] = second;
    if (x < 0)
        r[kLeadWord] |= kSignBit;
    else
        r[kLeadWord] &= ~kSignBit;
    if (d.exponent < 0) r[kExpTens] |= kSignBit;
    return true;
}

long double RoundExt(long double x) {
    if (x == 0.0L || !std::isfinite(x)) return x;
    // Fifteen digits first, then the fifteen-digit text is rounded to twelve: both steps
    // round ties away from zero.
    DecimalNumber d15 = ToDecimal(x, 15);
    uint64_t m = d15.mantissa / 1000;
    if (d15.mantissa % 1000 >= 500) ++m;
    int exponent = d15.exponent;
    if (m == 1000000000000ULL) {
        m /= 10;
        ++exponent;
    }
    long double value = FromDecimal(m, exponent - 11);
    return x < 0 ? -value : value;
}

long double LimitExt(long double x) {
    if (x == 0.0L) return x;
    if (!std::isfinite(x)) return 0.0L;
    int exponent = ToDecimal(x, 12).exponent;
    if (exponent > 99 || exponent < -98) return 0.0L;
    return x;
}

void AdvancePc(int& row, int& step) {
    if (++step < kWords) return;
    step = 0;
    if (row == 13)
        row = 16;
    else if (row >= 29)
        row = 0;
    else
        ++row;
}

} // namespace orrindale
