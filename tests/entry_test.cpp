// Number entry and the display texts, as key sequences and the lines they give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "fake_host.h"

using namespace orrindale;
using orrindale::testing::Machine;

namespace {

struct LineCase {
    const char* name;
    const char* keys;
    int wheel;
    bool floatMode;
    int line; // 1 middle (Y), 2 bottom (X)
    const char* expected;
};

class DisplayLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(DisplayLine, KeysGiveTheLine) {
    const LineCase& c = GetParam();
    Machine m;
    m.calc.DecimalWheel = c.wheel;
    m.calc.FloatMode = c.floatMode;
    m.Keys(c.keys);
    EXPECT_EQ(m.calc.DisplayLines()[static_cast<size_t>(c.line)], c.expected) << c.keys;
}

const LineCase kLines[] = {
    {"PointAlone", ".", 2, false, 2, "SSSSSSSS0PSS"},
    {"IntegerBeingKeyed", "2 5", 2, false, 2, "SSSSSSS25PSS"},
    {"LeadingZerosDoNothing", "0 0 2 5", 2, false, 2, "SSSSSSS25PSS"},
    {"DecimalBeingKeyed", "2 . 5", 2, false, 2, "SSSSSSSS2P5S"},
    {"MixedBeingKeyed", "1 2 . 5", 2, false, 2, "SSSSSSS12P5S"},
    {"NegativeEntry", "1 2 Chs", 2, false, 2, "SSSSSSM12PSS"},
    {"OneZeroAfterPointShowsTheDigit", ". 0 5", 2, false, 2, "SSSSSSSSSP05"},
    {"ComputedFractionKeepsItsDigits", "1 SHUP 4 0 0 Div", 4, false, 1, "SSSSSSSP0025"},
    {"KeyedFractionAtWheelFour", ". 0 0 2 5", 4, false, 2, "SSSSSSSP0025"},
    {"ComputedFractionRounds", "1 SHUP 4 0 0 Div", 2, false, 1, "SSSSSSSSSP00"},
    {"ExponentMinusZeroIsNoFraction", "5 Exp Chs Add", 2, false, 2, "SSSSSSSS5PSS"},
    {"ComputedCarriesIntoNewDigit", "9 . 9 9 6 SHUP 1 Mul", 2, false, 1, "SSSSSSS10P00"},
    {"ComputedQuarterHasNoLeadingZero", "1 SHUP 4 Div", 2, false, 1, "SSSSSSSSSP25"},
    {"HalfRoundsUpAtWheelZero", "1 SHUP 2 Div", 0, false, 1, "SSSSSSSSSS1P"},
    {"FourTenthsRoundsDownAtWheelZero", "4 SHUP 1 0 Div", 0, false, 1, "SSSSSSSSSS0P"},
    {"NegativeResult", "1 SHUP 4 Sub", 2, false, 1, "SSSSSSSM3PSS"},
    {"PiShowsTheWheelsDigits", "Pi", 2, false, 2, "SSSSSSSS3P14"},
    {"PiAtWheelSix", "Pi", 6, false, 2, "SSSS3P141593"},
    {"ElevenIntegerDigitsAreScientific", "1 2 3 4 5 6 7 8 9 0 1", 2, false, 2,
     "S1P234S567S890SS10"},
    {"EightDigitsAtWheelThreeAreScientific", "1 2 3 4 5 6 7 8", 3, false, 2, "S1P234S567S8SSSS07"},
    {"EightDigitsAtWheelTwoAreFixed", "1 2 3 4 5 6 7 8", 2, false, 2, "S12345678PSS"},
    {"CarryOutOfTheFieldAtWheelZeroIsScientific", "9 9 9 9 9 9 9 9 9 9 . 5 5", 0, false, 2,
     "S9P999S999S999SS09"},
    {"CarryOutOfTheFieldAtWheelTwoIsScientific", "9 9 9 9 9 9 9 9 . 9 9 SHUP . 0 0 6 Add", 2, false,
     1, "S9P999S999S999SS07"},
    {"CarryWithRoomStaysFixed", "9 9 9 9 9 9 9 . 9 9 SHUP . 0 0 6 Add", 2, false, 1,
     "S10000000P00"},
    {"FloatEntry", "1 2 . 5", 2, true, 2, "S1P25SSSSSSSSSSS01"},
    {"FloatSmallEntry", ". 0 0 5", 2, true, 2, "S5PSSSSSSSSSSSSM03"},
    {"ExponentEntryIsScientific", "2 Exp 5", 2, false, 2, "S2PSSSSSSSSSSSSS05"},
    {"ExponentSignOnly", "2 Exp 5 Chs", 2, false, 2, "S2PSSSSSSSSSSSSM05"},
    {"ExponentAlone", "Exp 1 2 3", 2, false, 2, "S1PSSSSSSSSSSSSS12"},
};

// Keyed and computed fractions follow the same rule: only the digits show that were keyed or
// that count in the result, plus the zeros between the point and the leading digit.
const LineCase kFractions[] = {
    {"KeyedPointZeroZero", ". 0 0", 9, false, 2, "SSP00SSSSSSS"},
    {"KeyedFiveThousandthsAtWheelNine", ". 0 0 5", 9, false, 2, "SSP005SSSSSS"},
    {"KeyedFiveThousandthsAtWheelFour", ". 0 0 5", 4, false, 2, "SSSSSSSP005S"},
    {"KeyedFiveThousandthsAtWheelZero", ". 0 0 5", 0, false, 2, "SSSSSSSSSS0P"},
    {"KeyedTwelveHundredThousandths", ". 0 0 0 1 2", 9, false, 2, "SSP00012SSSS"},
    {"KeyedFractionShiftedUpReadsTheSame", ". 0 0 0 1 2 SHUP", 9, false, 1, "SSP00012SSSS"},
    {"KeyedFractionInFloat", ". 0 0 5 1", 2, true, 2, "S5P1SSSSSSSSSSSM03"},
    {"ComputedFractionAtWheelNine", "1 SHUP 4 0 0 Div", 9, false, 1, "SSP0025SSSSS"},
    {"ComputedFractionAtWheelFour", "1 SHUP 4 0 0 Div", 4, false, 1, "SSSSSSSP0025"},
    {"ComputedTwoThirdsAtWheelNine", "2 SHUP 3 Div", 9, false, 1, "SSP666666667"},
    {"ComputedTwoThirdsAtWheelTwo", "2 SHUP 3 Div", 2, false, 1, "SSSSSSSSSP67"},
    {"ComputedFractionInFloat", "1 SHUP 4 0 0 Div", 2, true, 1, "S2P5SSSSSSSSSSSM03"},
};

std::string CaseName(const ::testing::TestParamInfo<LineCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Entry, DisplayLine, ::testing::ValuesIn(kLines), CaseName);
INSTANTIATE_TEST_SUITE_P(Fractions, DisplayLine, ::testing::ValuesIn(kFractions), CaseName);

} // namespace

TEST(NumberEntry, PointThenZerosLowerTheExponentAndShowOnlyTheKeyedDigit) {
    Machine m;
    m.Keys(". 0 0 5");
    EXPECT_EQ(m.X(), 5E-3L);
    int shown = 0;
    for (int w = 0; w <= 9; ++w)
        shown += (m.calc.XReg[w] & kBlankBit) == 0;
    EXPECT_EQ(shown, 1);
}

TEST(NumberEntry, EleventhDigitIsTheEleventhOfTheNumber) {
    Machine m;
    m.Keys("1 2 3 4 5 6 7 8 9 0 1");
    EXPECT_EQ(m.X(), 12345678901.0L);
    EXPECT_EQ(m.calc.XReg[13] & 0xF, 1);
    EXPECT_EQ(m.calc.XReg[12] & 0xF, 0);
}

TEST(NumberEntry, TwelveDigitsFillTheGuardWords) {
    Machine m;
    m.Keys("1 2 3 4 5 6 7 8 9 0 1 2");
    EXPECT_EQ(m.calc.XReg[13] & 0xF, 1);
    EXPECT_EQ(m.calc.XReg[12], 2 | kBlankBit);
    EXPECT_EQ(m.X(), 123456789012.0L);
    m.Keys("3"); // the last two keyed stay, word 13 the earlier
    EXPECT_EQ(m.calc.XReg[13] & 0xF, 2);
    EXPECT_EQ(m.calc.XReg[12] & 0xF, 3);
}

TEST(NumberEntry, ExponentTakesAtMostTwoDigits) {
    Machine m;
    m.Keys("Exp 5");
    EXPECT_EQ(m.X(), 1E5L);
    m.Keys("Clr Exp 1 2 3");
    EXPECT_EQ(m.X(), 1E12L);
    m.Keys("Chs");
    EXPECT_EQ(m.X(), 1E-12L);
    m.Keys(". 7"); // the point returns to the mantissa
    EXPECT_FALSE(m.calc.Flags.ExponentEntry);
}

TEST(NumberEntry, ChangeSignOnAResultMarksEveryDigitWord) {
    Machine m;
    m.Keys("2 Sqrt Chs");
    for (int w : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13})
        EXPECT_TRUE(m.calc.XReg[w] & kSignBit) << "word " << w;
    EXPECT_FALSE(m.calc.XReg[11] & kSignBit);
    EXPECT_LT(m.X(), 0);
    m.Keys("Chs");
    for (int w : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13})
        EXPECT_FALSE(m.calc.XReg[w] & kSignBit);
}

TEST(NumberEntry, EntryEndsWithTheNextKeyAndOverwritesX) {
    Machine m;
    m.Keys("4 2 SHUP 7");
    EXPECT_EQ(m.X(), 7.0L);
    EXPECT_EQ(m.Y(), 42.0L);
}

TEST(DisplayLines, RawRegisterOfProgramCodes) {
    Machine m;
    for (int w = 0; w < 14; ++w)
        m.calc.XReg[w] = 10 + w % 6; // codes 12-17: glyphs
    std::string bottom = m.calc.DisplayLines()[2];
    EXPECT_EQ(bottom.size(), 18u);
    EXPECT_EQ(bottom, "PBPAMDSCPBSAMSSSDC");
    EXPECT_EQ(m.calc.FormatRegister(m.calc.XReg, true, false).size(), 15u);
}

TEST(DisplayLines, EveryCarryEndsWithOnePointInTheField) {
    Machine m;
    for (int wheel = 0; wheel <= 9; ++wheel) {
        for (int e = -12; e <= 12; ++e) {
            // All nines, guard digits too: the rounding carries through every digit.
            TCalcRegister r;
            for (int w : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13})
                r[w] = 9;
            r[kExpTens] = (std::abs(e) / 10) | (e < 0 ? kSignBit : 0);
            r[kExpUnits] = std::abs(e) % 10;
            m.calc.DecimalWheel = wheel;
            for (bool printer : {false, true}) {
                std::string line = m.calc.FormatRegister(r, printer, false);
                EXPECT_EQ(std::count(line.begin(), line.end(), 'P'), 1) << line;
                EXPECT_GE(line.size(), 12u) << line;
                EXPECT_LE(line.size(), 18u) << line;
            }
        }
    }
}

TEST(DisplayLines, PrinterLinesHaveNoGroupBlanks) {
    Machine m;
    m.calc.FloatMode = true;
    m.Keys("1 2 . 5");
    EXPECT_EQ(m.calc.FormatRegister(m.calc.XReg, true, false), "S1P25SSSSSSSS01");
}
