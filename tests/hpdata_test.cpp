// The scrambled text list, the atomic file replacement and the small text helpers.
#include "common/hpdata.h"

#include <climits>

#include <gtest/gtest.h>

#include "common/atomicfile.h"
#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::ReadRaw;
using testing::Scrambled;
using testing::TempFolder;
using testing::WriteRaw;

const TextList kUntouched = {"keep", "me"};

// ---- Scrambled text list: exact bytes --------------------------------------------------------

TEST(ScrambledTextList, EmptyListSavesHeaderAndZeroAndDoesNotLoad) {
    TempFolder dir;
    const auto path = dir.File("empty.ini");
    ASSERT_TRUE(SaveScrambledTextList(path, {}));
    EXPECT_EQ(ReadRaw(path), Scrambled("NeWe\r0\r"));
    TextList list = kUntouched;
    EXPECT_FALSE(LoadScrambledTextList(path, list));
    EXPECT_EQ(list, kUntouched);
}

TEST(ScrambledTextList, TwoLinesSaveWithLengthSix) {
    TempFolder dir;
    const auto path = dir.File("ab.ini");
    ASSERT_TRUE(SaveScrambledTextList(path, {"A", "B"}));
    EXPECT_EQ(ReadRaw(path), Scrambled("NeWe\r6\rA\r\nB\r\n"));
    TextList list;
    ASSERT_TRUE(LoadScrambledTextList(path, list));
    EXPECT_EQ(list, (TextList{"A", "B"}));
}

TEST(ScrambledTextList, EveryByteValueSurvivesARoundTrip) {
    TempFolder dir;
    const auto path = dir.File("bytes.ini");
    std::string all;
    for (int c = 0; c < 256; ++c)
        if (c != '\r' && c != '\n') all.push_back(static_cast<char>(c));
    const TextList lines = {"caf\xE9", all, "", "last"};
    ASSERT_TRUE(SaveScrambledTextList(path, lines));
    TextList back;
    ASSERT_TRUE(LoadScrambledTextList(path, back));
    EXPECT_EQ(back, lines);
    EXPECT_EQ(static_cast<unsigned char>(back[0][3]), 233);
}

// ---- Scrambled text list: damaged and odd files ---------------------------------------------

struct BadFile {
    const char* name;
    std::string plain;
};

class ScrambledTextListRefuses : public ::testing::TestWithParam<BadFile> {};

TEST_P(ScrambledTextListRefuses, AndLeavesTheListAsItWas) {
    TempFolder dir;
    const auto path = dir.File("bad.ini");
    WriteRaw(path, Scrambled(GetParam().plain));
    TextList list = kUntouched;
    EXPECT_FALSE(LoadScrambledTextList(path, list));
    EXPECT_EQ(list, kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Damaged, ScrambledTextListRefuses,
                         ::testing::Values(BadFile{"EmptyFile", ""}, BadFile{"HeaderCut", "NeW"},
                                           BadFile{"LengthLineCut", "NeWe\r1"},
                                           BadFile{"ShortBody", "NeWe\r10\r123456789"},
                                           BadFile{"ZeroLength", "NeWe\r0\rA\r\n"},
                                           BadFile{"NegativeLength", "NeWe\r-3\rA\r\n"},
                                           BadFile{"LengthNotANumber", "NeWe\rsix\rA\r\nB\r\n"},
                                           BadFile{"LengthBeyondInt", "NeWe\r99999999999\rA\r\n"},
                                           BadFile{"NoLengthLine", "NeWe\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LimitCase {
    const char* name;
    std::string body;
    TextListLimits limits;
    std::size_t lines; // 0: the file is refused
};

TEST(ScrambledTextList, AFileBeyondItsLimitsIsDamaged) {
    // "NeWe\r6\rA\r\nB\r\n" is 13 bytes.
    const LimitCase cases[] = {
        {"WithinBoth", "A\r\nB\r\nC\r\n", {1024, 3}, 3},
        {"OneLineTooMany", "A\r\nB\r\nC\r\nD\r\n", {1024, 3}, 0},
        {"BareLineFeeds", std::string(1000, '\n'), {1024, 3}, 0},
        {"ExactlyTheBytes", "A\r\nB\r\n", {13, 2}, 2},
        {"OneByteOver", "A\r\nB\r\n", {12, 2}, 0},
        {"DefaultLinesReached", std::string(kMaxTextListLines, '\n'), {}, kMaxTextListLines},
        {"DefaultLinesPassed", std::string(kMaxTextListLines + 1, '\n'), {}, 0},
    };
    TempFolder dir;
    const auto path = dir.File("long.ini");
    for (const auto& c : cases) {
        WriteRaw(path, Scrambled("NeWe\r" + std::to_string(c.body.size()) + "\r" + c.body));
        TextList list = kUntouched;
        EXPECT_EQ(LoadScrambledTextList(path, list, c.limits), c.lines != 0) << c.name;
        EXPECT_EQ(list.size(), c.lines != 0 ? c.lines : kUntouched.size()) << c.name;
    }
}

TEST(ScrambledTextList, MissingFileOrFolderDoesNotLoad) {
    TempFolder dir;
    TextList list = kUntouched;
    EXPECT_FALSE(LoadScrambledTextList(dir.File("absent.ini"), list));
    EXPECT_FALSE(LoadScrambledTextList(dir.Path().string(), list));
    EXPECT_EQ(list, kUntouched);
}

struct SplitCase {
    std::string body;
    TextList lines;
};

TEST(ScrambledTextList, BodySplitsAtAnyLineEndAndIgnoresTrailingBytes) {
    const SplitCase cases[] = {
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\rB", {"A", "B"}},
        {"A\nB\n", {"A", "B"}},
        {"A\n\rB", {"A", "", "B"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"x", {"x"}},
        {std::string("a\0b", 3), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        const std::string file =
            Scrambled("NeWe\r" + std::to_string(c.body.size()) + "\r" + c.body + "ignored\r\n");
        TextList list;
        EXPECT_TRUE(ParseScrambledTextList(file, list)) << c.body;
        EXPECT_EQ(list, c.lines) << c.body;
    }
}

TEST(ReadScrambledLine, NeedsItsCarriageReturn) {
    const std::string bytes = Scrambled("one\rtwo\rcut");
    std::size_t pos = 0;
    std::string text;
    ASSERT_TRUE(ReadScrambledLine(bytes, pos, text));
    EXPECT_EQ(text, "one");
    ASSERT_TRUE(ReadScrambledLine(bytes, pos, text));
    EXPECT_EQ(text, "two");
    EXPECT_FALSE(ReadScrambledLine(bytes, pos, text));
    // At the very end an empty line is read successfully, however often.
    EXPECT_TRUE(ReadScrambledLine(bytes, pos, text));
    EXPECT_EQ(text, "");
    pos = bytes.size() + 5;
    EXPECT_TRUE(ReadScrambledLine(bytes, pos, text));
}

// ---- Atomic replacement ----------------------------------------------------------------------

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempFolder dir;
    const auto path = dir.File("state.ini");
    WriteRaw(path, "old contents");
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadRaw(path), "new");
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(AtomicWrite, FullDiskLeavesThePreviousFileByteForByte) {
    TempFolder dir;
    const auto path = dir.File("list.ini");
    ASSERT_TRUE(SaveScrambledTextList(path, {"previous", "contents"}));
    const std::string before = ReadRaw(path);
    {
        testing::FullDisk full(16);
        EXPECT_FALSE(SaveScrambledTextList(path, {std::string(500, 'x'), "more"}));
    }
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(dir.EntryCount(), 1);
}

TEST(AtomicWrite, UnwritableTargetsFailWithoutSideEffects) {
    TempFolder dir;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no-such-folder/file.ini"), "x"));
    // A folder standing where the file should go cannot be replaced by a file.
    std::filesystem::create_directory(dir.File("occupied"));
    EXPECT_FALSE(WriteFileAtomically(dir.File("occupied"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("occupied")));
    EXPECT_EQ(dir.EntryCount(), 1);
    EXPECT_FALSE(WriteFileAtomically("", "x"));
}

// ---- Field lists, keys and small formats ----------------------------------------------------

TEST(GetTildeField, FieldsEndAtTheirTilde) {
    EXPECT_EQ(GetTildeField("12~34~56", 2), "");
    EXPECT_EQ(GetTildeField("12~34~56", 1), "34");
    EXPECT_EQ(GetTildeField("12~34~56~", 2), "56");
    EXPECT_EQ(GetTildeField("12~34~56~", 0), "12");
    EXPECT_EQ(GetTildeField("~~x~", 1), "");
    EXPECT_EQ(GetTildeField("~~x~", 2), "x");
    EXPECT_EQ(GetTildeField("", 0), "");
    EXPECT_EQ(GetTildeField("a~", -1), "");
}

TEST(FileTitle, NameWithoutFolderAndFromTheFirstDot) {
    EXPECT_EQ(FileTitle("/home/u/a.b.mcf"), "a");
    EXPECT_EQ(FileTitle("prog.mcf"), "prog");
    EXPECT_EQ(FileTitle("/dir.d/noext"), "noext");
    EXPECT_EQ(FileTitle("/dir/.hidden"), "");
    EXPECT_EQ(FileTitle("/dir/"), "");
}

TEST(ParseOctal, DigitsZeroToSevenOnly) {
    EXPECT_EQ(ParseOctal("177", -1), 127);
    EXPECT_EQ(ParseOctal("0077", -1), 63);
    EXPECT_EQ(ParseOctal("", -1), 0);
    EXPECT_EQ(ParseOctal("18", -1), -1);
    EXPECT_EQ(ParseOctal("1 7", -1), -1);
    EXPECT_EQ(ParseOctal("-1", 5), 5);
    EXPECT_EQ(ParseOctal("17777777777", -1), INT_MAX);
    EXPECT_EQ(ParseOctal("20000000000", -1), -1); // one beyond int
    EXPECT_EQ(ParseOctal(std::string(40, '0') + "7", -1), 7);
}

TEST(IntToOctal, PaddedToWidth) {
    EXPECT_EQ(IntToOctal(63, 2), "77");
    EXPECT_EQ(IntToOctal(8, 3), "010");
    EXPECT_EQ(IntToOctal(0, 2), "00");
    EXPECT_EQ(IntToOctal(0, 0), "");
    EXPECT_EQ(IntToOctal(511, 1), "777");
    EXPECT_EQ(IntToOctal(-5, 2), "00");
}

TEST(LineKeys, ThreeDigitsOnBothSides) {
    EXPECT_EQ(LineKey(0), "000");
    EXPECT_EQ(LineKey(7), "007");
    EXPECT_EQ(LineKey(119), "119");
    struct Case {
        std::string line;
        bool remove;
        int key;
        std::string rest;
    };
    const Case cases[] = {
        {"012/home/u/card.mcf", true, 12, "/home/u/card.mcf"},
        {"012/home/u/card.mcf", false, 12, "012/home/u/card.mcf"},
        {"999", true, 999, ""},
        {"12", true, -1, "12"},
        {" 12x", true, -1, " 12x"},
        {"-12", true, -1, "-12"},
        {"1a2", true, -1, "1a2"},
        {"", true, -1, ""},
    };
    for (auto c : cases) {
        EXPECT_EQ(TakeLineKey(c.line, c.remove), c.key) << c.line;
        EXPECT_EQ(c.line, c.rest);
    }
}

TEST(DateText, DayMonthYearZeroPadded) {
    using namespace std::chrono;
    EXPECT_EQ(DateText(year{2024} / March / day{5}), "05/03/2024");
    EXPECT_EQ(DateText(year{987} / January / day{1}), "01/01/0987");
    EXPECT_EQ(DateText(year{1999} / December / day{31}), "31/12/1999");
}

TEST(HexDigits, ValuesAndCharacters) {
    const std::pair<char, int> values[] = {{'0', 0},  {'9', 9},  {'A', 10}, {'F', 15},
                                           {'a', 10}, {'f', 15}, {'G', -1}, {'g', -1},
                                           {' ', -1}, {'/', -1}, {':', -1}, {'@', -1}};
    for (auto [c, v] : values)
        EXPECT_EQ(HexDigitValue(c), v) << c;
    const std::tuple<int, char, char> digits[] = {{0, '0', '0'},  {1, '1', '1'},  {9, '9', '9'},
                                                  {10, 'A', 'a'}, {15, 'F', 'f'}, {16, '0', '0'},
                                                  {-1, '0', '0'}};
    for (auto [v, upper, lower] : digits) {
        EXPECT_EQ(HexDigitUpper(v), upper) << v;
        EXPECT_EQ(HexDigitLower(v), lower) << v;
    }
}

TEST(CleanText, KeepsPrintableAsciiAndTurnsTabsToSpaces) {
    EXPECT_EQ(CleanText("\tA\x01"
                        "B\x7F\xE9 z"),
              " AB z");
    EXPECT_EQ(CleanText(" \t \r\n"), "");
}

TEST(SavedValues, BooleansAreLenientIntegersAreStrict) {
    const std::pair<const char*, int> booleans[] = {
        {"-1", 1},    {"0", 0}, {"00", 0},   {"7", 1},   {"True", 1}, {"tRUE", 1},
        {"false", 0}, {"", -1}, {"yes", -1}, {" 1", -1}, {"1 ", -1},  {"Truex", -1}};
    for (auto [text, expected] : booleans) {
        bool b = false;
        const bool ok = ParseBoolean(text, b);
        EXPECT_EQ(ok ? int(b) : -1, expected) << text;
    }
    const std::pair<const char*, long long> integers[] = {{"0", 0},
                                                          {"-7", -7},
                                                          {"+5", 5},
                                                          {"2147483647", INT_MAX},
                                                          {"-2147483648", INT_MIN},
                                                          {"2147483648", LLONG_MIN},
                                                          {"", LLONG_MIN},
                                                          {"-", LLONG_MIN},
                                                          {"1e3", LLONG_MIN},
                                                          {"99999999999999999999", LLONG_MIN}};
    for (auto [text, expected] : integers) {
        int n = 0;
        EXPECT_EQ(ParseDecimal(text, n) ? n : LLONG_MIN, expected) << text;
    }
}

} // namespace
} // namespace orrindale
