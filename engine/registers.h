// Register format of the calculator.
//
// A register is fourteen 6-bit words. As a number, words 9..0 are the ten shown mantissa
// digits (word 9 leading), words 13 and 12 two guard digits, words 11 and 10 the exponent's
// tens and units. The same fourteen words are also fourteen program steps, so the primitives
// here never assume a register holds a well-formed number: digit values above 9 count as 0.
//
// Arithmetic never works on the digits: a register is converted to a long double (x87
// extended), computed on, rounded back to twelve decimal digits and limited to the exponent
// range -98..+99 before it is written into a register again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orrindale {

inline constexpr int kWords = 14;
inline constexpr int kDigitMask = 0x0F;
inline constexpr int kSignBit = 0x10;
inline constexpr int kBlankBit = 0x20; // hides its word's digit (see entry.cpp)
inline constexpr int kWordMask = 0x3F;

// Word indices of the number layout.
inline constexpr int kLeadWord = 9;  // d1 and the mantissa sign
inline constexpr int kGuard1 = 13;   // d11
inline constexpr int kGuard2 = 12;   // d12
inline constexpr int kExpTens = 11;  // exponent tens and the exponent sign
inline constexpr int kExpUnits = 10; // exponent units

struct TCalcRegister {
    std::array<int32_t, kWords> w{};

    int32_t& operator[](int i) { return w[static_cast<std::size_t>(i)]; }
    int32_t operator[](int i) const { return w[static_cast<std::size_t>(i)]; }
    bool operator==(const TCalcRegister&) const = default;
};

// The numeric value of a word: its low four bits, where 10..15 (glyph codes) count as 0.
inline int DigitOf(int32_t word) {
    int d = word & kDigitMask;
    return d > 9 ? 0 : d;
}

enum class SignOf { Mantissa, Exponent };

void ClearReg(TCalcRegister& r, bool blank);
inline void CopyReg(const TCalcRegister& src, TCalcRegister& dst) {
    dst = src;
}
bool IsNegative(const TCalcRegister& r, SignOf which);

// Conversions between a register and an extended float. They report failure instead of
// raising: the caller turns a failure into the internal-error message.
bool RegToExt(const TCalcRegister& r, long double& out);
bool ExtToReg(TCalcRegister& r, long double x);

// Twelve significant digits, rounding decimal ties half away from zero (first to fifteen
// digits, then to twelve, as the calculator does).
long double RoundExt(long double x);
// Values whose twelve-digit exponent is above 99 or below -98 become 0.
long double LimitExt(long double x);

// The program counter ring: first bank rows 0-13, then second bank rows 16-29, then back.
void AdvancePc(int& row, int& step);

} // namespace orrindale
