// The panel settings file.
#include "panel/settings.h"

#include <gtest/gtest.h>

#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::ReadRaw;
using testing::TempFolder;

PanelSettings Unusual(const std::string& cardFile) {
    PanelSettings s;
    s.FKeyList = "1~2~3~4~5~6~7~8~9~10~11~12~";
    s.RunSpeed = 100;
    s.Sounds = false;
    s.RadMode = s.FloatMode = s.ProgramMode = true;
    s.PrinterOn = true;
    s.PrintLatch = {true, false, true};
    s.DecimalWheel = 9;
    s.CardFileName = cardFile;
    s.ResetOnStartUp = true;
    s.CardSide = false;
    return s;
}

TEST(Settings, WrittenAsFifteenKeyedLines) {
    PanelSettings s;
    s.CardFileName = "/cards/x.mcf";
    const TextList expected = {"000",
                               "001112~113~114~115~116~117~118~119~120~121~122~123~",
                               "00255",
                               "003-1",
                               "0040",
                               "0050",
                               "0060",
                               "0070",
                               "0080",
                               "0090",
                               "0100",
                               "0112",
                               "012/cards/x.mcf",
                               "0130",
                               "014-1"};
    EXPECT_EQ(SettingsLines(s), expected);
}

TEST(Settings, SaveAndLoadGiveTheSameSettings) {
    TempFolder dir;
    testing::WriteRaw(dir.File("card.mcf"), "card");
    const PanelSettings saved = Unusual(dir.File("card.mcf"));
    ASSERT_TRUE(SaveSettings(dir.File("cce9B.ini"), saved));
    PanelSettings loaded;
    ASSERT_TRUE(LoadSettings(dir.File("cce9B.ini"), loaded));
    EXPECT_EQ(loaded, saved);
}

TEST(Settings, UnreadableFileKeepsEverySetting) {
    TempFolder dir;
    const PanelSettings current = Unusual("");
    PanelSettings s = current;
    EXPECT_FALSE(LoadSettings(dir.File("cce9B.ini"), s));
    EXPECT_EQ(s, current);
}

TEST(Settings, AFileLongerThanSettingsCanBeIsDamagedAndKeepsEverySetting) {
    struct Case {
        const char* name;
        std::size_t lines;       // of "00277" (run speed 77)
        std::size_t unknownSize; // the bytes of one more line, of a key no setting has
        bool loads;
    };
    const Case cases[] = {
        {"OneLinePerKey", 1000, 0, true},
        {"MoreLinesThanKeys", 1001, 0, false},
        {"ALongPath", 1, 60000, true},
        {"MoreBytesThanTheLinesTake", 1, 70000, false},
    };
    TempFolder dir;
    const auto path = dir.File("cce9B.ini");
    for (const auto& c : cases) {
        TextList lines(c.lines, "00277");
        if (c.unknownSize > 0) lines.push_back("999" + std::string(c.unknownSize, 'x'));
        ASSERT_TRUE(SaveScrambledTextList(path, lines));
        PanelSettings s;
        EXPECT_EQ(LoadSettings(path, s), c.loads) << c.name;
        EXPECT_EQ(s.RunSpeed, c.loads ? 77 : PanelSettings{}.RunSpeed) << c.name;
    }
}

TEST(Settings, CardFileThatNoLongerExistsIsForgotten) {
    TempFolder dir;
    const auto card = dir.File("gone.mcf");
    testing::WriteRaw(card, "card");
    ASSERT_TRUE(SaveSettings(dir.File("cce9B.ini"), Unusual(card)));
    std::filesystem::remove(card);
    PanelSettings s;
    s.CardFileName = "/earlier.mcf";
    ASSERT_TRUE(LoadSettings(dir.File("cce9B.ini"), s));
    EXPECT_EQ(s.CardFileName, "");
}

struct LineCase {
    const char* line;
    std::function<bool(const PanelSettings&)> holds;
};

TEST(Settings, EachInvalidValueTakesItsDefault) {
    const std::string fkeys = DefaultFKeyList();
    const LineCase cases[] = {
        {"0011~2~3~4~5~6~7~8~9~10~11~", [&](auto& s) { return s.FKeyList == fkeys; }},
        {"001", [&](auto& s) { return s.FKeyList == fkeys; }},
        {"001~~~~~~~~~~~~", [](auto& s) { return s.FKeyList == "~~~~~~~~~~~~"; }},
        {"002-7", [](auto& s) { return s.RunSpeed == 55; }},
        {"002fast", [](auto& s) { return s.RunSpeed == 55; }},
        {"0020", [](auto& s) { return s.RunSpeed == 0; }},
        {"003maybe", [](auto& s) { return !s.Sounds; }},
        {"003TRUE", [](auto& s) { return s.Sounds; }},
        {"004-1", [](auto& s) { return s.RadMode; }},
        {"0045", [](auto& s) { return s.RadMode; }},
        {"004x", [](auto& s) { return !s.RadMode; }},
        {"005True", [](auto& s) { return s.FloatMode; }},
        {"006False", [](auto& s) { return !s.ProgramMode; }},
        {"007-1", [](auto& s) { return s.PrinterOn; }},
        {"010-1", [](auto& s) { return s.PrintLatch[2] && !s.PrintLatch[0]; }},
        {"011-1", [](auto& s) { return s.DecimalWheel == 2; }},
        {"01110", [](auto& s) { return s.DecimalWheel == 2; }},
        {"0110", [](auto& s) { return s.DecimalWheel == 0; }},
        {"012", [](auto& s) { return s.CardFileName.empty(); }},
        {"012/missing.mcf", [](auto& s) { return s.CardFileName.empty(); }},
        {"012/present.mcf", [](auto& s) { return s.CardFileName == "/present.mcf"; }},
        {"013x", [](auto& s) { return !s.ResetOnStartUp; }},
        {"014x", [](auto& s) { return s.CardSide; }},
        {"0140", [](auto& s) { return !s.CardSide; }},
        {"1x0-1", [](auto& s) { return !s.RadMode; }},
        {"04-1", [](auto& s) { return !s.RadMode; }},
    };
    const auto exists = [](const std::string& p) { return p == "/present.mcf"; };
    for (const auto& c : cases) {
        PanelSettings s;
        s.Sounds = true;
        s.CardFileName = "/before.mcf";
        ApplySettingsLines({c.line}, s, exists);
        EXPECT_TRUE(c.holds(s)) << c.line;
    }
}

TEST(Settings, CardFileWithALineBreakIsNotRemembered) {
    PanelSettings s;
    s.CardFileName = "/cards/a\n014-1\rb.mcf";
    const TextList lines = SettingsLines(s);
    EXPECT_EQ(lines[12], "012");
    EXPECT_EQ(lines.size(), 15u);
}

TEST(Settings, SwitchLinesOnlyEverSwitchOn) {
    PanelSettings s = Unusual("");
    ApplySettingsLines({"0040", "0050", "0060", "0070", "0080", "0090", "0100"}, s,
                       RegularFileExists);
    EXPECT_EQ(s, Unusual(""));
}

TEST(Settings, MissingSoundsLineLeavesSoundsOn) {
    PanelSettings s;
    ApplySettingsLines({"000", "00280"}, s, RegularFileExists);
    EXPECT_TRUE(s.Sounds);
    EXPECT_EQ(s.RunSpeed, 80);
}

TEST(Settings, FailedSaveKeepsThePreviousFile) {
    TempFolder dir;
    const auto path = dir.File("cce9B.ini");
    ASSERT_TRUE(SaveSettings(path, PanelSettings{}));
    const std::string before = ReadRaw(path);
    {
        testing::FullDisk full(20);
        EXPECT_FALSE(SaveSettings(path, Unusual("")));
    }
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(dir.EntryCount(), 1);
}

} // namespace
} // namespace orrindale
