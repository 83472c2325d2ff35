// Arithmetic and functions: results, error values, the lamp and the blank bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "fake_host.h"

using namespace orrindale;
using orrindale::testing::Machine;

namespace {

std::string Sci(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.11Le", v);
    return buf;
}

struct ResultCase {
    const char* name;
    const char* keys;
    bool rad;
    char reg; // 'X' or 'Y'
    const char* value;
    bool lamp;
};

class Result : public ::testing::TestWithParam<ResultCase> {};

TEST_P(Result, KeysGiveTheValue) {
    const ResultCase& c = GetParam();
    Machine m;
    m.calc.RadMode = c.rad;
    m.Keys(c.keys);
    EXPECT_EQ(Sci(c.reg == 'X' ? m.X() : m.Y()), c.value) << c.keys;
    EXPECT_EQ(m.calc.ErrorLit, c.lamp) << c.keys;
}

const ResultCase kResults[] = {
    {"OneOverZero", "1 SHUP 0 Div", false, 'Y', "9.99999999999e+99", true},
    {"ZeroOverZero", "0 SHUP 0 Div", false, 'Y', "9.99999999999e+99", true},
    {"OneOverMinusZeroIsStillPositive", "1 SHUP 0 Chs Div", false, 'Y', "9.99999999999e+99", true},
    {"RootOfNegative", "4 Chs Sqrt", false, 'X', "-9.99999999999e+99", true},
    {"LogOfZero", "0 LOGx", false, 'X', "9.99999999999e+99", true},
    {"LnOfMinusOne", "1 Chs LNx", false, 'X', "-9.99999999999e+99", true},
    {"ExpOutOfRangeFlushesWithoutLamp", "3 0 0 Ex", false, 'X', "0.00000000000e+00", false},
    {"ExpOfMinusLarge", "3 0 0 Chs Ex", false, 'X', "0.00000000000e+00", false},
    {"SinThirtyDegreesWithTheDecimalFactor", "3 0 SINx", false, 'X', "5.00000000001e-01", false},
    {"TanNinetyDegreesIsFinite", "9 0 TANx", false, 'X', "-1.95948538921e+11", false},
    {"ArcSinHalfDegrees", ". 5 arc SINx", false, 'X', "2.99999999999e+01", false},
    {"ArcSinTwoIsAnError", "arc 2 SINx", false, 'X', "9.99999999999e+99", true},
    {"SinhIsUnscaledInDegrees", "1 Hyp SINx", false, 'X', "1.17520119364e+00", false},
    {"CosRadians", "Pi COSx", true, 'X', "-1.00000000000e+00", false},
    {"CoshOverflow", "1 Exp 9 9 Hyp COSx", false, 'X', "9.99999999999e+99", true},
    {"IntOfNegative", "2 . 7 Chs INTx", false, 'X', "-2.00000000000e+00", false},
    {"IntOfHuge", "9 Exp 2 5 INTx", false, 'X', "9.00000000000e+25", false},
    {"ProductOutOfRangeFlushes", "Exp 9 9 SHUP Exp 9 9 Mul", false, 'Y', "0.00000000000e+00",
     false},
    {"ThirdTimesThreeKeepsTwelveDigits", "1 SHUP 3 Div Mul", false, 'Y', "9.99999999999e-01",
     false},
    {"Log100", "1 0 0 LOGx", false, 'X', "2.00000000000e+00", false},
    {"EToTheOne", "1 Ex", false, 'X', "2.71828182846e+00", false},
};

std::string CaseName(const ::testing::TestParamInfo<ResultCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, Result, ::testing::ValuesIn(kResults), CaseName);

} // namespace

TEST(Arithmetic, DegreesUseTheCalculatorsDecimalFactor) {
    Machine m;
    m.Keys("3 0 SINx");
    EXPECT_EQ(m.X(), RoundExt(std::sin(30 * 0.01745329252L)));
}

TEST(Arithmetic, PiKeySetsDigitsDirectly) {
    Machine m;
    m.Keys("Pi");
    const int digits[10] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(m.calc.XReg[9 - i] & 0xF, digits[i]);
    EXPECT_EQ(m.calc.XReg[13], 6);
    EXPECT_EQ(m.calc.XReg[12], 0);
    EXPECT_EQ(m.calc.XReg[10], 0);
    EXPECT_EQ(m.calc.XReg[11], 0);
}

TEST(Arithmetic, FourKeysLeaveXAndFunctionsLeaveY) {
    Machine m;
    m.Keys("6 SHUP 2 Sub");
    EXPECT_EQ(m.X(), 2.0L);
    EXPECT_EQ(m.Y(), 4.0L);
    m.Keys("Sqrt");
    EXPECT_EQ(m.Y(), 4.0L);
}

TEST(Arithmetic, IntShowsOnlyTheIntegerDigits) {
    Machine m;
    m.Keys("2 . 7 Chs INTx");
    EXPECT_EQ(m.Bottom(), "SSSSSSSM2PSS");
    EXPECT_EQ(m.calc.XReg[8] & kBlankBit, kBlankBit);
}

TEST(Arithmetic, FunctionsSetComputingTime) {
    Machine n;
    n.host.drawTakesBusyTime = false;
    n.calc.BusyTicks = 0;
    n.calc.Arithmetic(7);
    EXPECT_EQ(n.calc.BusyTicks, 280);
    n.calc.Arithmetic(12);
    EXPECT_EQ(n.calc.BusyTicks, 110);
    n.calc.FromMarkedCard = true;
    n.calc.BusyTicks = 0;
    n.calc.Arithmetic(7);
    EXPECT_EQ(n.calc.BusyTicks, 0);
}

TEST(Arithmetic, PolarAndRectangular) {
    Machine m;
    m.Keys("4 SHUP 3 Pol"); // y = 4, x = 3
    EXPECT_EQ(Sci(m.X()), "5.00000000000e+00");
    EXPECT_EQ(Sci(m.Y()), Sci(RoundExt(std::atan(4.0L / 3) / 0.01745329252L)));
    m.Keys("Rec");
    EXPECT_EQ(Sci(m.X()), "3.00000000000e+00");
    EXPECT_EQ(Sci(m.Y()), "4.00000000000e+00");
    m.Keys("1 SHUP 0 Pol"); // x = 0: +90 degrees whatever the sign of y
    EXPECT_EQ(Sci(m.Y()), Sci(RoundExt(std::atan(9.999999999E99L) / 0.01745329252L)));
    m.Keys("1 Chs SHUP 1 Chs Pol"); // no quadrant correction
    EXPECT_GT(m.Y(), 44.9L);
}

TEST(Arithmetic, AccumulateAndRecall) {
    Machine m;
    m.Keys("1 SHUP 2 . 5 ACC+");
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[14]), 1.0L);
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[15]), 2.5L);
    m.Keys("ACC+");
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[15]), 5.0L);
    m.Keys("Clr RCL");
    EXPECT_EQ(m.X(), 0.0L);
    m.Keys("Clr 1 SHUP 2 ACC+ ACC- ACC+ RCL");
    EXPECT_EQ(m.X(), 2.0L);
    EXPECT_EQ(m.Y(), 1.0L);
}

TEST(Arithmetic, SubtractAfterGoToSelectsTheSecondBank) {
    Machine m;
    m.Keys("5 SHUP 1 GoTo Sub");
    EXPECT_EQ(m.calc.BankSelect, 2);
    EXPECT_EQ(m.Y(), 5.0L);
    EXPECT_TRUE(m.calc.Flags.GoToPending);
}

TEST(Arithmetic, ExtendedMemoryErrorShowsADigitPattern) {
    Machine m;
    m.calc.ShowExtMemError(5);
    EXPECT_EQ(Sci(m.X()), "5.55555555555e+14");
    m.calc.ShowExtMemError(8);
    EXPECT_EQ(Sci(m.X()), "7.77777777777e+13");
    m.calc.ShowExtMemError(12); // no such code: nothing changes
    EXPECT_EQ(Sci(m.X()), "7.77777777777e+13");
}

TEST(Arithmetic, FmtWithExtendedMemoryHandsTheOperationOver) {
    Machine m;
    m.host.extMem = m.host.extPort.on = true;
    m.Keys("3 SHUP 4 FMT Add");
    EXPECT_EQ(m.host.extPort.calls.back(), "arith0");
    EXPECT_EQ(m.Y(), 42.0L);
    m.host.extPort.reply = ExtResult::FileSwitchOn;
    m.Keys("FMT Div");
    EXPECT_EQ(m.host.extPort.calls.back(), "arith3");
    EXPECT_EQ(Sci(m.X()), "6.66666666666e+15");
}
