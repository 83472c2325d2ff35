// The magnetic card: its file, the two transfers and the cycle's ticks.
#include "cards/magnetic/magneticcard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cards/magnetic/cardcycle.h"
#include "engine/calculator.h"
#include "engine/null_host.h"
#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::TempFolder;

TextList Header(const std::string& a = "", const std::string& b = "", const std::string& pa = "0",
                const std::string& pb = "0") {
    return {a, b, pa, pb};
}
TextList WithSteps(TextList lines, int count, int code) {
    for (int i = 0; i < count; ++i)
        lines.push_back(std::to_string(code));
    return lines;
}
// A card that is present and modified, so that it shows whether a load touched it.
TMagneticCard Used() {
    TMagneticCard card;
    card.NewCard();
    card.cardNameA = "kept";
    card.cardStepsA = {1, 2, kEndCode};
    card.cardModified = true;
    return card;
}

// ---- The card file --------------------------------------------------------------------------

struct FileCase {
    const char* what;
    TextList lines;
    CardLoad expected;
};

TEST(CardFile, StepLinesAreCountedAndChecked) {
    const FileCase cases[] = {
        {"392 steps", WithSteps(Header(), 392, 5), CardLoad::Loaded},
        {"393 steps", WithSteps(Header(), 393, 5), CardLoad::Corrupt},
        {"step 64", WithSteps(Header(), 1, 64), CardLoad::Corrupt},
        {"step -1", WithSteps(Header(), 1, -1), CardLoad::Corrupt},
        {"not a number", {"", "", "0", "0", "1x"}, CardLoad::Corrupt},
        {"three lines", {"a", "b", "0"}, CardLoad::Corrupt},
        {"header only", Header(), CardLoad::Loaded},
        {"no lines", {}, CardLoad::Corrupt},
    };
    for (const FileCase& c : cases) {
        TMagneticCard card = Used();
        EXPECT_EQ(card.ReadFileLines(c.lines, false), c.expected) << c.what;
        if (c.expected == CardLoad::Corrupt) { // the card in the slot is kept as it was
            EXPECT_TRUE(card.cardPresent && card.cardSide && card.cardModified) << c.what;
            EXPECT_EQ(card.cardStepsA, Used().cardStepsA) << c.what;
            EXPECT_EQ(card.cardNameA, "kept") << c.what;
        }
    }
}

TEST(CardFile, FirstStepLinesFillSideAThenSideB) {
    TMagneticCard card;
    ASSERT_EQ(card.ReadFileLines(WithSteps(WithSteps(Header("x", "y"), 196, 7), 3, 9), false),
              CardLoad::Loaded);
    EXPECT_EQ(card.cardStepsA, std::vector<int>(196, 7));
    EXPECT_EQ(card.cardStepsB, std::vector<int>(3, 9));
    EXPECT_FALSE(card.cardSide);
    EXPECT_TRUE(card.cardPresent);
    EXPECT_FALSE(card.cardModified);
    EXPECT_EQ(card.cardNameA, "x");
    EXPECT_EQ(card.cardNameB, "y");
}

TEST(CardFile, ProtectionReadsLenientlyAndSavesMinusOne) {
    TempFolder dir;
    TMagneticCard card;
    ASSERT_EQ(card.ReadFileLines(Header("", "", "True", "7"), true), CardLoad::Loaded);
    EXPECT_TRUE(card.protectA);
    EXPECT_TRUE(card.protectB);
    EXPECT_EQ(card.FileLines(), Header("", "", "-1", "-1"));
    ASSERT_EQ(card.ReadFileLines(Header("", "", "yes", "0"), true), CardLoad::Loaded);
    EXPECT_FALSE(card.protectA);
}

TEST(CardFile, BlankCardSavesFourLines) {
    TempFolder dir;
    TMagneticCard card;
    card.NewCard();
    card.cardModified = true;
    ASSERT_TRUE(card.SaveCardFile(dir.File("blank.mcf")));
    TextList saved;
    ASSERT_TRUE(LoadScrambledTextList(dir.File("blank.mcf"), saved));
    EXPECT_EQ(saved, Header());
    EXPECT_FALSE(card.cardModified);
    EXPECT_EQ(card.cardFileName, dir.File("blank.mcf"));
}

TEST(CardFile, BothSidesSurviveSaveAndLoad) {
    const std::vector<int> none, shortA{1, 2, kEndCode}, justEnd{kEndCode}, full(196, 4);
    const std::vector<int> sideB{5, 6, kEndCode};
    const std::pair<std::vector<int>, std::vector<int>> sides[] = {
        {shortA, sideB}, {none, sideB}, {justEnd, sideB}, {full, sideB}, {shortA, none}};
    TempFolder dir;
    for (const auto& [a, b] : sides) {
        TMagneticCard card;
        card.NewCard();
        card.cardStepsA = a;
        card.cardStepsB = b;
        ASSERT_TRUE(card.SaveCardFile(dir.File("c.mcf")));
        TMagneticCard back;
        ASSERT_EQ(back.LoadCardFile(dir.File("c.mcf"), true), CardLoad::Loaded);
        EXPECT_EQ(back.cardStepsA, a) << a.size() << " / " << b.size();
        EXPECT_EQ(back.cardStepsB, b) << a.size() << " / " << b.size();
    }
}

TEST(CardFile, FileThatFailsToLoadLeavesTheCard) {
    TempFolder dir;
    const std::string cardBytes = FormatScrambledTextList(WithSteps(Header("a", "b"), 30, 7));
    const struct {
        const char* name;
        std::string bytes; // none: no such file
        CardLoad expected;
    } cases[] = {
        {"missing.mcf", "", CardLoad::Unreadable},
        {"text.mcf", "not a card\r\n", CardLoad::Corrupt},
        {"cut.mcf", cardBytes.substr(0, cardBytes.size() / 2), CardLoad::Corrupt},
        {"empty.mcf", "", CardLoad::Corrupt},
    };
    for (const auto& c : cases) {
        if (std::string(c.name) != "missing.mcf") testing::WriteRaw(dir.File(c.name), c.bytes);
        TMagneticCard card = Used();
        EXPECT_EQ(card.LoadCardFile(dir.File(c.name), false), c.expected) << c.name;
        EXPECT_EQ(card.cardStepsA, Used().cardStepsA) << c.name;
        EXPECT_TRUE(card.cardSide && card.cardModified && card.cardPresent) << c.name;
        EXPECT_TRUE(card.cardFileName.empty()) << c.name;
    }
}

// keyrun card-load=f card-save=g writes g byte for byte as f, for every card file our writer
// or a careful hand could make: side A with steps after its END, filled, short or empty.
TEST(CardFile, KeyrunLoadThenSaveGivesTheSameBytes) {
    std::vector<int> afterEnd{10, 11, 0, 0, 1, kEndCode, 5};
    afterEnd.resize(kCardSideSteps, 3);
    std::vector<int> filled{1, 2, kEndCode};
    filled.resize(kCardSideSteps, kEndCode);
    std::vector<int> emptyA(kCardSideSteps, 0);
    emptyA[0] = kEndCode;
    auto steps = [](TextList lines, const std::vector<int>& codes) {
        for (int code : codes)
            lines.push_back(std::to_string(code));
        return lines;
    };
    const std::vector<int> sideB{5, 6, kEndCode};
    const struct {
        const char* what;
        TextList lines;
    } cases[] = {
        {"blank", Header()},
        {"named, protected", Header("sine x", "Cos: 2", "-1", "0")},
        {"short side A", steps(Header(), {1, 2, kEndCode})},
        {"steps after END", steps(Header(), afterEnd)},
        {"steps after END, side B", steps(steps(Header(), afterEnd), sideB)},
        {"filled side A", steps(Header(), filled)},
        {"filled side A, side B", steps(steps(Header(), filled), sideB)},
        {"empty side A", steps(Header(), emptyA)},
        {"empty side A, side B", steps(steps(Header(), emptyA), sideB)},
        {"full card", WithSteps(Header("a", "b", "0", "-1"), kCardFileSteps, 38)},
        {"side A without END", WithSteps(Header(), 100, 9)},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        const std::string f = dir.File("f.mcf"), g = dir.File("g.mcf");
        ASSERT_TRUE(SaveScrambledTextList(f, c.lines));
        std::filesystem::remove(g);
        const std::string command = "'" + std::string(ORRINDALE_KEYRUN) + "' 'card-load=" + f +
                                    "' 'card-save=" + g + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << c.what;
        EXPECT_EQ(testing::ReadRaw(g), testing::ReadRaw(f)) << c.what;
    }
}

// keyrun refuses the card tokens during a run with the window's own message.
TEST(CardFile, KeyrunRefusesTheSlotDuringARunAsTheWindowDoes) {
    TempFolder dir;
    const std::string out = dir.File("err.txt");
    for (const char* token : {"record", "card-new", "card-save="}) {
        const std::string command = "'" + std::string(ORRINDALE_KEYRUN) +
                                    "' --max-steps 10 prgm 1 Add GoTo 0 0 run End Cont '" + token +
                                    (std::string(token) == "card-save=" ? dir.File("c.mcf") : "") +
                                    "' >/dev/null 2>'" + out + "'";
        EXPECT_NE(std::system(command.c_str()), 0) << token;
        const std::string said = testing::ReadRaw(out);
        EXPECT_NE(said.find(kSlotRunningRefusal), std::string::npos) << token << ": " << said;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.mcf")));
}

TEST(CardFile, FailedSaveKeepsTheCardModified) {
    TempFolder dir;
    TMagneticCard card = Used();
    EXPECT_FALSE(card.SaveCardFile(dir.File("no/such/folder/c.mcf")));
    EXPECT_TRUE(card.cardModified);
    EXPECT_TRUE(card.cardFileName.empty());
}

TEST(CardFile, CaptionIsTheTitleInBrackets) {
    EXPECT_EQ(CardCaption("/some/where/sine.old.mcf"), "[sine]");
    EXPECT_EQ(CardCaption(""), "[]");
}

// ---- Transfers and the cycle ------------------------------------------------------------------

class CardCycleTest : public ::testing::Test {
protected:
    CardCycleTest() {
        calc.ResetMachine();
        calc.PowerOn = true;
        calc.DisplayOn = true;
        card.NewCard();
    }
    void SetStep(int row, int step, int code) {
        calc.RegisterFile[static_cast<size_t>(row)][step] = code;
    }
    int StepOf(int row, int step) const {
        return calc.RegisterFile[static_cast<size_t>(row)][step];
    }
    // Runs a whole cycle; the tops drawn on its ticks.
    std::vector<int> Cycle(CardMode mode) {
        CardCycle cycle(108);
        std::vector<int> tops;
        EXPECT_TRUE(cycle.CanStart(calc));
        cycle.Start(mode);
        for (int tick = 1; tick <= 16; ++tick) {
            const CardCycle::Step s = cycle.Tick(card, calc);
            if (s.Draw) tops.push_back(s.Top);
            EXPECT_EQ(s.Transferred, tick == 6) << tick;
            EXPECT_EQ(s.Finished, tick == 16) << tick;
        }
        EXPECT_FALSE(cycle.Running());
        return tops;
    }
    NullEngineHost host;
    Calculator calc{host};
    TMagneticCard card;
};

TEST_F(CardCycleTest, CardMovesSixTicksAndRestsTen) {
    EXPECT_EQ(Cycle(CardMode::Enter), (std::vector<int>{78, 63, 48, 33, 18, 5}));
}

TEST_F(CardCycleTest, RecordTakesStepsThroughEndAndBlanksX) {
    calc.PcRow = 2;
    calc.PcStep = 3;
    for (int s = 3; s < 6; ++s)
        SetStep(2, s, 10 + s);
    SetStep(2, 6, kEndCode);
    calc.XReg[0] = 5;
    Cycle(CardMode::Record);
    EXPECT_EQ(card.cardStepsA, (std::vector<int>{13, 14, 15, kEndCode}));
    EXPECT_EQ(calc.PcStep, 7);
    EXPECT_TRUE(card.cardModified);
    TCalcRegister blank;
    ClearReg(blank, true);
    EXPECT_EQ(calc.XReg, blank);
}

TEST_F(CardCycleTest, RecordWithoutEndFillsTheSideAndWrapsTheCounter) {
    struct Case {
        int row, step, nextRow, nextStep;
    };
    // 196 steps are exactly 14 rows: the counter lands 14 rows on, across the bank gaps.
    for (const Case& c : {Case{0, 0, 16, 0}, Case{13, 13, 29, 13}, Case{29, 13, 13, 13}}) {
        calc.ResetMachine();
        calc.PowerOn = true;
        calc.PcRow = c.row;
        calc.PcStep = c.step;
        card.RecordCardSide(calc);
        EXPECT_EQ(card.cardStepsA.size(), 196u) << c.row;
        EXPECT_EQ(calc.PcRow, c.nextRow) << c.row;
        EXPECT_EQ(calc.PcStep, c.nextStep) << c.row;
    }
}

TEST_F(CardCycleTest, RecordFromTheLastStepOfABankGoesOnInTheNext) {
    for (auto [row, next] : {std::pair{13, 16}, std::pair{29, 0}}) {
        calc.ResetMachine();
        SetStep(row, 13, 7);
        SetStep(next, 0, kEndCode);
        calc.PcRow = row;
        calc.PcStep = 13;
        card.RecordCardSide(calc);
        EXPECT_EQ(card.cardStepsA, (std::vector<int>{7, kEndCode})) << row;
    }
}

TEST_F(CardCycleTest, EnterOfASideRecordedAtAnEndEntersOneStep) {
    SetStep(4, 2, kEndCode);
    calc.PcRow = 4;
    calc.PcStep = 2;
    card.RecordCardSide(calc);
    ASSERT_EQ(card.cardStepsA, std::vector<int>{kEndCode});
    calc.ResetMachine();
    calc.PcRow = 4;
    calc.PcStep = 2;
    const EnterFlags flags = card.EnterCardSide(calc);
    EXPECT_TRUE(flags.EndRead);
    EXPECT_EQ(StepOf(4, 2), kEndCode);
    EXPECT_EQ(calc.PcStep, 2);
    EXPECT_EQ(StepOf(4, 3), 0);
}

TEST_F(CardCycleTest, EnterHandsEndToTheEngine) {
    card.cardStepsA = {1, 2, kEndCode};
    calc.PcRow = 3;
    Cycle(CardMode::Enter); // RUN mode: END sends the counter home
    EXPECT_EQ(StepOf(3, 1), 2);
    EXPECT_EQ(calc.PcRow, 0);
    EXPECT_EQ(calc.PcStep, 0);
    calc.ProgramMode = true; // PRGM mode: END is keyed over the END just entered
    calc.PcRow = 5;
    Cycle(CardMode::Enter);
    EXPECT_EQ(StepOf(5, 2), kEndCode);
    EXPECT_EQ(calc.PcRow, 5);
    EXPECT_EQ(calc.PcStep, 3);
}

TEST_F(CardCycleTest, EmptyOrZeroSideMarksRowZero) {
    for (const std::vector<int>& side : {std::vector<int>{}, std::vector<int>{0, 0}}) {
        calc.ResetMachine();
        calc.PowerOn = true;
        card.cardStepsA = side;
        calc.PcRow = 6;
        Cycle(CardMode::Enter);
        EXPECT_EQ(StepOf(0, 0), 63) << side.size();
        EXPECT_EQ(calc.PcRow, 6) << "no END was dispatched";
        EXPECT_EQ(calc.PcStep, static_cast<int>(side.size()));
    }
}

TEST_F(CardCycleTest, NoCycleWhileOffOrRunning) {
    CardCycle cycle(108);
    calc.Running = true;
    EXPECT_FALSE(cycle.CanStart(calc));
    calc.Running = false;
    calc.PowerOn = false;
    EXPECT_FALSE(cycle.CanStart(calc));
    calc.PowerOn = true;
    cycle.Start(CardMode::Enter);
    EXPECT_FALSE(cycle.CanStart(calc)) << "a second cycle";
}

} // namespace
} // namespace orrindale
