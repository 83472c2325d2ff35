// The machine state file.
#include "panel/machinestate.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/null_host.h"
#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::ReadRaw;
using testing::TempFolder;

TCalcRegister Pattern(int seed) {
    TCalcRegister r;
    for (int w = 0; w < kWords; ++w)
        r[w] = (seed * 7 + w * 5) & kWordMask;
    return r;
}

// A machine caught in the middle of things: every saved field away from its reset value.
void Busy(Calculator& c) {
    for (int i = 0; i < 64; ++i)
        c.RegisterFile[static_cast<size_t>(i)] = Pattern(i + 1);
    c.XReg = Pattern(100);
    c.YReg = Pattern(101);
    c.ZReg = Pattern(102);
    c.ZSave = Pattern(103);
    for (int i : {0, 5, 11, 16, 19})
        c.Flags.Slot(i) = 1;
    c.ReturnStack = {{{3, 4}, {17, 13}, {29, 0}, {0, 9}, {13, 1}}};
    c.RunAtPowerOn = true;
    c.NoAdvance = true;
    c.PendingAction = pending::Run | pending::PowerOff;
    c.PcRow = 20;
    c.PcStep = 11;
    c.AddrRow = 13;
    c.ReturnTop = 4;
    c.BankSelect = 2;
    c.ReservedState = -12345;
    c.EntryPos = 12;
    c.EntrySign = kSignBit;
    c.ExpCount = 12;
    c.ErrorLit = true;
}

// Everything a load may change, for comparing whole machines.
struct Snapshot {
    MachineState state;
    explicit Snapshot(const Calculator& c) : state(CaptureForLoad(c)) {}
    bool operator==(const Snapshot& o) const {
        return MachineStateLines(state) == MachineStateLines(o.state);
    }
};

class MachineStateFile : public ::testing::Test {
protected:
    TempFolder dir;
    std::string path = dir.File("cif9B.ini");
    NullEngineHost host;
    Calculator saved{host};
    Calculator loaded{host};

    TextList SavedLines() {
        TextList lines;
        EXPECT_TRUE(LoadScrambledTextList(path, lines));
        return lines;
    }
};

TEST_F(MachineStateFile, SaveAndLoadGiveTheSameMachine) {
    Busy(saved);
    ASSERT_TRUE(SaveMachineState(path, saved));
    ASSERT_TRUE(LoadMachineState(path, loaded));
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(loaded.RegisterFile[static_cast<size_t>(i)], Pattern(i + 1)) << i;
    MachineState expected = CaptureForSave(saved);
    MachineState actual = CaptureForLoad(loaded);
    // Registers 32-63 are written but not read: after a restart they hold the reset zeros.
    for (int i = 32; i < 64; ++i) {
        expected.RegisterFile[static_cast<size_t>(i)] = TCalcRegister{};
        EXPECT_EQ(loaded.RegisterFile[static_cast<size_t>(i)], TCalcRegister{}) << i;
    }
    EXPECT_EQ(MachineStateLines(actual), MachineStateLines(expected));
    EXPECT_TRUE(loaded.ErrorAtPowerOn);
    EXPECT_FALSE(loaded.ErrorLit); // the lamp waits for the next power-on
}

TEST_F(MachineStateFile, LinesAndTheirKeys) {
    Busy(saved);
    ASSERT_TRUE(SaveMachineState(path, saved));
    const TextList lines = SavedLines();
    ASSERT_EQ(lines.size(), 64u + 20u);
    EXPECT_EQ(lines[0], "0007~12~17~22~27~32~37~42~47~52~57~62~3~8~");
    EXPECT_EQ(lines[63].substr(0, 3), "063");
    EXPECT_EQ(lines[64].substr(0, 3), "100");
    EXPECT_EQ(lines[68], "104-1~0~0~0~0~-1~0~0~0~0~0~-1~0~0~0~0~-1~0~0~-1~");
    EXPECT_EQ(lines[69], "1053~17~29~0~13~");
    EXPECT_EQ(lines[70], "1064~13~0~9~1~");
    EXPECT_EQ(lines[71], "107-1");
    EXPECT_EQ(lines[73], "109" + std::to_string(pending::Run | pending::PowerOff));
    EXPECT_EQ(lines[79], "115-12345");
    EXPECT_EQ(lines[82], "11816");
    EXPECT_EQ(lines[83], "1191");
}

TEST_F(MachineStateFile, RegisterLinesGoToTheirPosition) {
    Busy(saved);
    ASSERT_TRUE(SaveMachineState(path, saved));
    TextList lines = SavedLines();
    std::swap(lines[0], lines[1]);
    ASSERT_TRUE(SaveScrambledTextList(path, lines));
    ASSERT_TRUE(LoadMachineState(path, loaded));
    EXPECT_EQ(loaded.RegisterFile[0], Pattern(2));
    EXPECT_EQ(loaded.RegisterFile[1], Pattern(1));
}

TEST_F(MachineStateFile, RegisterLinesAreLenient) {
    loaded.RegisterFile[0] = Pattern(9);
    TextList lines = {"0001~2~x~4~5~6~7~8~9~10~11~12~13~14~",
                      "00164~-1~100~0~0~0~0~0~0~0~0~0~0~0~"};
    // A file longer than the register file: the extra register lines write nothing.
    for (int i = 0; i < 100; ++i)
        lines.push_back("0001~1~1~1~1~1~1~1~1~1~1~1~1~1~");
    ASSERT_TRUE(SaveScrambledTextList(path, lines));
    ASSERT_TRUE(LoadMachineState(path, loaded));
    TCalcRegister first = Pattern(9);
    first[0] = 1;
    first[1] = 2;
    EXPECT_EQ(loaded.RegisterFile[0], first); // words after the bad field keep their values
    EXPECT_EQ(loaded.RegisterFile[1][0], 0);  // six bits: 64 -> 0, -1 -> 63, 100 -> 36
    EXPECT_EQ(loaded.RegisterFile[1][1], 63);
    EXPECT_EQ(loaded.RegisterFile[1][2], 36);
}

TEST_F(MachineStateFile, UnknownAndWindowRequestBitsAreDropped) {
    // A close, a plotter wait or a window release of the last session would close or freeze
    // this one at its first power-on.
    const int saved = pending::Run | 0x2 | 0x100 | pending::Close | pending::WaitPlotter |
                      pending::ReleasePlotter;
    ASSERT_TRUE(SaveScrambledTextList(path, {"109" + std::to_string(saved)}));
    ASSERT_TRUE(LoadMachineState(path, loaded));
    EXPECT_EQ(loaded.PendingAction, pending::Run);
}

class BadStateLine : public MachineStateFile, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadStateLine, FailsTheLoadAndLeavesTheMachine) {
    Busy(saved);
    ASSERT_TRUE(SaveMachineState(path, saved));
    TextList lines = SavedLines();
    lines.push_back(GetParam());
    ASSERT_TRUE(SaveScrambledTextList(path, lines));
    Busy(loaded);
    loaded.RegisterFile[0] = Pattern(50);
    const Snapshot before(loaded);
    EXPECT_FALSE(LoadMachineState(path, loaded));
    EXPECT_TRUE(Snapshot(loaded) == before);
}

INSTANTIATE_TEST_SUITE_P(Lines104To119, BadStateLine,
                         ::testing::Values("104-1~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~", // 19 flags
                                           "104x~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~0~",
                                           "1050~0~0~0~", "1050~0~14~0~0~", "10530~0~0~0~0~",
                                           "106-1~0~0~0~0~", "1060~0~0~0~14~", "107maybe", "108",
                                           "109", "109x", "110-1", "11014", "11030", "11114",
                                           "11214", "1135", "113-1", "1143", "115x",
                                           "11599999999999", "116-1", "11614", "1179", "11713",
                                           "1188", "1181.0", "119", "119on"));

TEST_F(MachineStateFile, AFileLongerThanAStateCanBeIsDamaged) {
    Busy(saved);
    ASSERT_TRUE(SaveMachineState(path, saved));
    const TextList state = SavedLines();
    // Padded with lines of a key no field has, up to a total of lines (or one line of bytes).
    struct Case {
        std::size_t lines;
        std::size_t padBytes;
        bool loads;
    };
    for (const Case c :
         {Case{1000, 0, true}, Case{1001, 0, false}, Case{0, 60000, true}, Case{0, 70000, false}}) {
        TextList lines = state;
        lines.resize(std::max(lines.size(), c.lines), "999");
        if (c.padBytes > 0) lines.push_back("999" + std::string(c.padBytes, 'x'));
        ASSERT_TRUE(SaveScrambledTextList(path, lines));
        Calculator fresh{host};
        const Snapshot before(fresh);
        EXPECT_EQ(LoadMachineState(path, fresh), c.loads) << c.lines << " " << c.padBytes;
        if (c.loads)
            EXPECT_EQ(fresh.XReg, Pattern(100)) << c.lines << " " << c.padBytes;
        else
            EXPECT_TRUE(Snapshot(fresh) == before) << c.lines << " " << c.padBytes;
    }
}

TEST_F(MachineStateFile, MissingFileFails) {
    const Snapshot before(loaded);
    EXPECT_FALSE(LoadMachineState(dir.File("absent.ini"), loaded));
    EXPECT_TRUE(Snapshot(loaded) == before);
}

TEST_F(MachineStateFile, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(SaveMachineState(path, saved));
    const std::string before = ReadRaw(path);
    Busy(saved);
    {
        testing::FullDisk full(100);
        EXPECT_FALSE(SaveMachineState(path, saved));
    }
    EXPECT_EQ(ReadRaw(path), before);
    EXPECT_EQ(dir.EntryCount(), 1);
}

} // namespace
} // namespace orrindale
