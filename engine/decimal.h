// Exact decimal conversions of long double values, independent of the C locale.
//
// glibc's printf rounds exact decimal ties to even; the calculator rounds them away from
// zero. So digits are produced exactly from the binary value and the digit string is rounded
// here. The common magnitudes take a fast path in 128-bit integer arithmetic; the rest fall
// back to glibc's exact (long) expansion, whose digits are then rounded the same way.
#pragma once

#include <cstdint>
#include <string>

namespace orrindale {

// |x| as `digits` significant decimal digits rounded half away from zero:
// |x| ~= mantissa * 10^(exponent - digits + 1) with 10^(digits-1) <= mantissa < 10^digits.
// For x == 0 the mantissa is 0 and the exponent 0. digits is 1..18; x must be finite.
struct DecimalNumber {
    uint64_t mantissa = 0;
    int exponent = 0;
};
DecimalNumber ToDecimal(long double x, int digits);

// mantissa * 10^power10, correctly rounded to long double (the same result strtold gives for
// the decimal text). The mantissa must be below 10^19.
long double FromDecimal(uint64_t mantissa, int power10);

// Locale-independent text parsing of a decimal floating-point literal ("-1.5E-3").
// Returns false when the text is not entirely a number.
bool ParseLongDouble(const std::string& text, long double& out);

} // namespace orrindale
