#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "engine/keys.h"

using namespace orrindale;

TEST(KeyTables, PositionsAndCodesAreInverse) {
    std::set<int> seen;
    for (TKeyPos p = 1; p <= 64; ++p) {
        TKeyCode code = KeyCodeOf[static_cast<size_t>(p)];
        ASSERT_GE(code, 0);
        ASSERT_LE(code, 63);
        EXPECT_EQ(KeyPosOf[static_cast<size_t>(code)], p);
        seen.insert(code);
    }
    EXPECT_EQ(seen.size(), 64u); // every code 00-77 belongs to exactly one key
    EXPECT_EQ(KeyCodeOf[kStepPrgmPos], 0);
}

TEST(KeyTables, NamesMnemonicsAndCodesOfSampleKeys) {
    struct {
        TKeyPos pos;
        const char* code;
        const char* name;
        const char* mnemonic;
    } rows[] = {
        {1, "62", "To Polar", "Pol"},
        {2, "55", "|Y|", "|Y|"},
        {21, "07", "7", "7"},
        {22, "10", "8", "8"},
        {37, "45", "Print Space", "PSpc"},
        {44, "24", "Y<->[]", "Y<>[]"},
        {57, "51", "X<-[]", "X<[]"},
        {16, "67", "Hyper", "Hyp"},
        {50, "77", "Sub Return", "SRet"},
        {60, "00", "0", "0"},
        {64, "44", "GoTo", "GoTo"},
        {39, "41", "Stop", "Stop"},
    };
    for (const auto& r : rows) {
        TKeyCode code = KeyCodeOf[static_cast<size_t>(r.pos)];
        EXPECT_EQ(FormatKeyCode(code), r.code) << r.name;
        EXPECT_EQ(KeyName(code), r.name);
        EXPECT_EQ(KeyMnemonic(r.pos), r.mnemonic);
    }
    EXPECT_STREQ(KeyNames[kStepPrgmPos], "Step Prgm");
    EXPECT_EQ(KeyMnemonic(kStepPrgmPos), "");
    const char* shortForms[] = {"y->[", "y<->[", "x->[", "x<-[", "goto"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(KeyNames[static_cast<size_t>(66 + i)], shortForms[i]);
}

TEST(KeyTables, BusyRowsOfTheSlowKeys) {
    EXPECT_EQ(KeyBusyRows[1], 20);
    EXPECT_EQ(KeyBusyRows[29], 10);
    EXPECT_EQ(KeyBusyRows[26], 8);
    EXPECT_EQ(KeyBusyRows[59], 0);
    int total = 0;
    for (int rows : KeyBusyRows)
        total += rows;
    EXPECT_EQ(total, 20 + 2 + 2 + 2 + 2 + 20 + 2 + 2 + 3 + 2 + 8 + 7 + 10 + 2 + 2 + 3 + 2 + 4 + 10 +
                         5 + 10);
}

TEST(KeyTables, OctalAndAddressNotation) {
    EXPECT_EQ(FormatKeyCode(0), "00");
    EXPECT_EQ(FormatKeyCode(63), "77");
    EXPECT_EQ(FormatKeyCode(8, 3), "010");
    EXPECT_EQ(FormatKeyCode(511, 2), "777");
    EXPECT_EQ(FormatAddress(2, 12), "+2.c");
    EXPECT_EQ(FormatAddress(16, 0), "-0.0");
    EXPECT_EQ(FormatAddress(29, 13), "-d.d");
}

TEST(KeyTables, PositionNamesFollowTheKeyTable) {
    const std::pair<TKeyPos, const char*> rows[] = {
        {keypos::ToPolar, "To Polar"}, {keypos::SetFlag, "Set Flag"},
        {keypos::ToRect, "To Rect"},   {keypos::Pause, "Pause"},
        {keypos::ExpX, "Ex"},          {keypos::Stop, "Stop"},
        {keypos::AccMinus, "ACC-"},    {keypos::End, "End"},
        {keypos::AccPlus, "ACC+"},     {keypos::XFrom, "X<-[]"},
        {keypos::Digit0, "0"},         {keypos::StepPrgm, "Step Prgm"},
    };
    for (auto [position, name] : rows)
        EXPECT_STREQ(KeyNames[static_cast<size_t>(position)], name);
}

TEST(KeyTables, MnemonicsNameTheirPositions) {
    const std::pair<const char*, std::optional<TKeyPos>> rows[] = {
        {"Add", keypos::Add}, {"aDD", keypos::Add},       {"x<>y", keypos::XExchangeY},
        {".", keypos::Point}, {"Step", keypos::StepPrgm}, {"7", keypos::Digit7},
        {"", std::nullopt},   {"Adds", std::nullopt},     {"Step Prgm", std::nullopt},
    };
    for (auto [name, position] : rows)
        EXPECT_EQ(KeyPosFromMnemonic(name), position) << name;
    for (TKeyPos p = 1; p < kStepPrgmPos; ++p)
        EXPECT_EQ(KeyPosFromMnemonic(KeyMnemonic(p)), p);
}
