#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/decimal.h"
#include "engine/registers.h"

using namespace orrindale;

namespace {

TCalcRegister FromValue(long double v) {
    TCalcRegister r;
    EXPECT_TRUE(ExtToReg(r, LimitExt(RoundExt(v))));
    return r;
}

long double ValueOf(const TCalcRegister& r) {
    long double v = 0;
    EXPECT_TRUE(RegToExt(r, v));
    return v;
}

// An independent oracle for ToDecimal: glibc's exact digits (asked for far more digits than
// can differ), rounded half away from zero by hand.
DecimalNumber Oracle(long double x, int digits) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.60Le", std::fabs(x));
    std::string ds;
    char* e = buf;
    for (; *e != 'e'; ++e)
        if (*e >= '0' && *e <= '9') ds += *e;
    int exponent = std::atoi(e + 1);
    uint64_t m = 0;
    for (int i = 0; i < digits; ++i)
        m = m * 10 + static_cast<uint64_t>(ds[i] - '0');
    if (ds[static_cast<size_t>(digits)] >= '5') ++m;
    uint64_t top = 1;
    for (int i = 0; i < digits; ++i)
        top *= 10;
    if (m == top) {
        m /= 10;
        ++exponent;
    }
    return {m, exponent};
}

} // namespace

TEST(RegisterLayout, PiRoundedToTwelveDigits) {
    TCalcRegister r = FromValue(3.14159265358979323846L);
    const int expected[14] = {3, 5, 6, 2, 9, 5, 1, 4, 1, 3, 0, 0, 9, 5};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(r[i], expected[i]) << "word " << i;
}

TEST(RegisterLayout, NegativeNumberWithNegativeExponent) {
    TCalcRegister r = FromValue(-2.5E-3L);
    EXPECT_EQ(r[9], 2 | kSignBit);
    EXPECT_EQ(r[8], 5);
    EXPECT_EQ(r[11], 0 | kSignBit);
    EXPECT_EQ(r[10], 3);
    EXPECT_TRUE(IsNegative(r, SignOf::Mantissa));
    EXPECT_TRUE(IsNegative(r, SignOf::Exponent));
    EXPECT_EQ(ValueOf(r), -2.5E-3L);
}

TEST(RegisterLayout, ExtToRegKeepsBlankBitsOfShownDigits) {
    TCalcRegister r;
    ClearReg(r, true);
    ASSERT_TRUE(ExtToReg(r, 12.5L));
    EXPECT_EQ(r[9], 1 | kBlankBit);
    EXPECT_EQ(r[8], 2 | kBlankBit);
    EXPECT_EQ(r[10], 1); // exponent words never keep the blank bit
    EXPECT_EQ(r[11], 0);
}

TEST(RegisterLayout, ClearRegNeverBlanksTheExponent) {
    TCalcRegister r;
    ClearReg(r, true);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(r[i], (i == 10 || i == 11) ? 0 : kBlankBit);
    ClearReg(r, false);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(r[i], 0);
}

TEST(RegisterLayout, ProgramCodesReadAsDigitsWithHighCodesAsZero) {
    TCalcRegister r;
    // Steps 9..0 hold codes 056 (Pi), 7, 012 (e), 3, 077, 0, 0, 0, 0, 1.
    const int codes[10] = {1, 0, 0, 0, 0, 077, 3, 012, 7, 056};
    for (int i = 0; i < 10; ++i)
        r[i] = codes[i];
    // 056, 077 and 012 have low bits above 9 and count as 0; 056 has no sign bit.
    EXPECT_EQ(ValueOf(r), std::strtold("0.703000001", nullptr));
}

TEST(RegisterLayout, RejectsNonFiniteValues) {
    TCalcRegister r;
    EXPECT_FALSE(ExtToReg(r, INFINITY));
    EXPECT_FALSE(ExtToReg(r, NAN));
    EXPECT_EQ(r[0], kBlankBit); // cleared to blank zero
}

struct RoundCase {
    long double in;
    const char* expected; // %.11Le of the rounded value
};

TEST(RoundExt, RoundsDecimalTiesAwayFromZero) {
    const RoundCase cases[] = {
        {1.0L / 262144, "3.81469726563e-06"}, // exact tie: printf alone would give ...562
        {-1.0L / 262144, "-3.81469726563e-06"},
        {0.125L, "1.25000000000e-01"},
        {2.0L / 3, "6.66666666667e-01"},
        {1.0L / 3, "3.33333333333e-01"},
        {999999999999.5L, "1.00000000000e+12"},
        {123456789012.25L, "1.23456789012e+11"},
        {0.1L + 0.2L, "3.00000000000e-01"},
        {1.0000000000049L, "1.00000000000e+00"},
        {1.0000000000049999999L, "1.00000000001e+00"}, // fifteen digits first: ...500 ties up
    };
    for (const auto& c : cases) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.11Le", RoundExt(c.in));
        EXPECT_STREQ(buf, c.expected) << static_cast<double>(c.in);
    }
}

TEST(RoundExt, ResultIsTheNearestValueOfTheTwelveDigitText) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> exp(-95, 95);
    for (int i = 0; i < 2000; ++i) {
        long double x = mant(rng) * std::pow(10.0L, exp(rng));
        long double r = RoundExt(x);
        char text[64];
        std::snprintf(text, sizeof text, "%.11Le", r);
        EXPECT_EQ(std::strtold(text, nullptr), r) << text;
    }
}

TEST(LimitExt, KeepsOnlyTheCalculatorsExponentRange) {
    EXPECT_EQ(LimitExt(9.99999999999E99L), 9.99999999999E99L);
    EXPECT_EQ(LimitExt(-9.99999999999E99L), -9.99999999999E99L);
    EXPECT_EQ(LimitExt(1E100L), 0.0L);
    EXPECT_EQ(LimitExt(9.9999999999996E99L), 0.0L); // rounds up to 1E100
    EXPECT_EQ(LimitExt(1E-98L), 1E-98L);
    EXPECT_EQ(LimitExt(9E-99L), 0.0L);
    EXPECT_EQ(LimitExt(0.0L), 0.0L);
    EXPECT_EQ(LimitExt(1E300L), 0.0L);
}

TEST(AdvancePc, RunsThroughBothBanksAsOneRing) {
    struct {
        int row, step, nextRow, nextStep;
    } cases[] = {{0, 0, 0, 1}, {0, 13, 1, 0}, {13, 13, 16, 0}, {29, 13, 0, 0}, {16, 5, 16, 6}};
    for (auto c : cases) {
        int row = c.row, step = c.step;
        AdvancePc(row, step);
        EXPECT_EQ(row, c.nextRow);
        EXPECT_EQ(step, c.nextStep);
    }
    int row = 0, step = 0, count = 0;
    do {
        AdvancePc(row, step);
        ++count;
    } while (row != 0 || step != 0);
    EXPECT_EQ(count, 392);
}

TEST(Decimal, FastPathAgreesWithExactDigits) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> exp(-120, 120);
    for (int i = 0; i < 20000; ++i) {
        long double x = static_cast<long double>(mant(rng)) * std::pow(10.0L, exp(rng)) / 3;
        for (int digits : {12, 15}) {
            DecimalNumber got = ToDecimal(x, digits), want = Oracle(x, digits);
            ASSERT_EQ(got.mantissa, want.mantissa) << static_cast<double>(x) << " " << digits;
            ASSERT_EQ(got.exponent, want.exponent) << static_cast<double>(x);
        }
    }
}

TEST(Decimal, FromDecimalIsCorrectlyRoundedLikeStrtold) {
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<uint64_t> mant(1, 999999999999ULL);
    std::uniform_int_distribution<int> exp(-120, 110);
    for (int i = 0; i < 20000; ++i) {
        uint64_t m = mant(rng);
        int e = exp(rng);
        char text[64];
        std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(m), e);
        ASSERT_EQ(FromDecimal(m, e), std::strtold(text, nullptr)) << text;
    }
}

TEST(Decimal, ConversionsIgnoreTheUsersLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
    bool set = false;
    for (const char* name : names)
        if ((set = std::setlocale(LC_ALL, name) != nullptr)) break;
    if (!set) GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");                     // the C library now writes a comma
    TCalcRegister r = FromValue(1.5E-120L * 1E30L); // the slow path of the digit conversion
    EXPECT_EQ(r[9], 1);
    EXPECT_EQ(r[8], 5);
    EXPECT_EQ(r[10], 0);
    EXPECT_EQ(r[11], 9 | kSignBit);
    long double v = 0;
    EXPECT_TRUE(RegToExt(FromValue(2.5E100L / 1E150L), v)); // 2.5E-50 through the slow path
    EXPECT_EQ(v, 2.5E-50L);
    EXPECT_TRUE(ParseLongDouble("-1.5E-3", v));
    EXPECT_EQ(v, -1.5E-3L);
    EXPECT_FALSE(ParseLongDouble("1,5", v));
    std::setlocale(LC_ALL, "C");
}
