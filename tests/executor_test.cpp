// The instruction executor: prefixes, registers and banks, GO TO, subroutines, tests, the
// flag, the lamp, printing and program entry.
#include <gtest/gtest.h>

#include "fake_host.h"

using namespace orrindale;
using orrindale::testing::Machine;

namespace {
TKeyCode CodeAt(const Machine& m, int row, int step) {
    return m.calc.RegisterFile[static_cast<size_t>(row)][step] & kWordMask;
}
} // namespace

TEST(Registers, StoreRecallExchangeInBothBanks) {
    Machine m;
    m.Keys("7 X>[] 3");
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[3]), 7.0L);
    m.Keys("8 X>[] Sub 3"); // second bank register 3
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[19]), 8.0L);
    m.Keys("9 X>[] Add a");
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[10]), 9.0L);
    m.Keys("Clr a"); // a letter alone recalls
    EXPECT_EQ(m.X(), 9.0L);
    m.Keys("Clr X<[] Sub 3");
    EXPECT_EQ(m.X(), 8.0L);
    m.Keys("5 SHUP Y<>[] 3");
    EXPECT_EQ(m.Y(), 7.0L);
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[3]), 5.0L);
    m.Keys("4 SHUP Y>[] f");
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[15]), 4.0L);
}

TEST(Registers, DigitWithoutPrefixIsEntryNotRecall) {
    Machine m;
    m.Keys("7 X>[] 3 Clr 3");
    EXPECT_EQ(m.X(), 3.0L);
}

TEST(Registers, PrefixKeysDoNotEndEntry) {
    Machine m;
    m.Keys("1 arc 2");
    EXPECT_EQ(m.X(), 12.0L);
    m.Keys("Hyp arc"); // ARC clears HYPER
    EXPECT_TRUE(m.calc.Flags.ArcPending);
    EXPECT_FALSE(m.calc.Flags.HyperPending);
}

TEST(Stack, MovesCopyWholeRegisters) {
    Machine m;
    m.Keys("1 SHUP 2 SHUP 3"); // Z 1, Y 2, X 3
    m.Keys("RLD");
    EXPECT_EQ(m.X(), 2.0L);
    EXPECT_EQ(m.Y(), 1.0L);
    EXPECT_EQ(Machine::Value(m.calc.ZReg), 3.0L);
    m.Keys("RLU");
    EXPECT_EQ(m.X(), 3.0L);
    EXPECT_EQ(m.Y(), 2.0L);
    m.Keys("x<>y");
    EXPECT_EQ(m.X(), 2.0L);
    m.Keys("SHDN");
    EXPECT_EQ(m.X(), 3.0L);
    EXPECT_EQ(m.Y(), 1.0L);
    EXPECT_EQ(Machine::Value(m.calc.ZReg), 1.0L);
}

TEST(GoTo, AddressesInTheCurrentOrChosenBank) {
    struct {
        int fromRow;
        const char* keys;
        int row, step;
    } cases[] = {
        {17, "GoTo 1 a", 17, 10}, {17, "GoTo Add 1 a", 1, 10}, {0, "GoTo Sub 1 a", 17, 10},
        {0, "GoTo 2 d", 2, 13},   {0, "GoTo e 2 f 3", 2, 3},
    };
    for (auto c : cases) {
        Machine m;
        m.calc.PcRow = c.fromRow;
        m.Keys(c.keys);
        EXPECT_EQ(m.calc.PcRow, c.row) << c.keys;
        EXPECT_EQ(m.calc.PcStep, c.step) << c.keys;
        EXPECT_FALSE(m.calc.Flags.GoToPending);
    }
}

TEST(GoTo, LetterEOrFKeepsGoToArmed) {
    Machine m;
    m.Keys("GoTo e");
    EXPECT_TRUE(m.calc.Flags.GoToPending);
    EXPECT_TRUE(m.calc.Flags.FirstAddressDigit);
}

TEST(Lamp, FirstKeyAfterAnErrorOnlyPutsItOut) {
    Machine m;
    m.Keys("1 SHUP 0 Div");
    ASSERT_TRUE(m.calc.ErrorLit);
    m.Keys("5");
    EXPECT_FALSE(m.calc.ErrorLit);
    EXPECT_EQ(m.X(), 0.0L);
    m.Keys("5");
    EXPECT_EQ(m.X(), 5.0L);
}

TEST(Lamp, AbsYClearsTheTenthDigitOfY) {
    Machine m;
    m.Keys("1 . 2 3 4 5 6 7 8 9 1 Chs SHUP |Y|");
    EXPECT_EQ(m.calc.YReg[0], 0);
    EXPECT_LT(m.Y(), 0);
}

TEST(ProgramMode, EveryKeyButStepIsStored) {
    Machine m;
    m.calc.SetProgramMode(true);
    m.Keys("GoTo Cont Stop 7");
    EXPECT_EQ(CodeAt(m, 0, 0), 044);
    EXPECT_EQ(CodeAt(m, 0, 1), 047);
    EXPECT_EQ(CodeAt(m, 0, 2), 041);
    EXPECT_EQ(CodeAt(m, 0, 3), 007);
    EXPECT_EQ(m.calc.PcStep, 4);
    // The last drawing shows the step just written at the bottom and the next one on top.
    ASSERT_FALSE(m.host.drawn.empty());
    EXPECT_EQ(m.host.drawn.back()[2], "S0P3MMMMMMMMM07");
    EXPECT_EQ(m.host.drawn.back()[0], "S0P4MMMMMMMMM00");
    m.Keys("Step");
    EXPECT_EQ(m.calc.PcStep, 5);
    EXPECT_EQ(CodeAt(m, 0, 4), 0);
    EXPECT_EQ(m.Bottom(), "S0P5MMMMMMMMM00");
}

TEST(ProgramMode, SecondBankAddressesShowAMinus) {
    Machine m;
    m.calc.SetProgramMode(true);
    m.calc.PcRow = 29;
    m.calc.PcStep = 13;
    EXPECT_EQ(m.Bottom(), "MDPDMMMMMMMMM00");
    EXPECT_EQ(m.Top(), "S0P0MMMMMMMMM00");
}

TEST(ProgramMode, SwitchKeepsZAside) {
    Machine m;
    m.Keys("1 SHUP SHUP 2");
    m.calc.SetProgramMode(true);
    m.calc.ZReg = m.calc.XReg;
    m.calc.SetProgramMode(false);
    EXPECT_EQ(Machine::Value(m.calc.ZReg), 1.0L);
    EXPECT_EQ(m.calc.XReg[9], kBlankBit); // X cleared to blank zero
}

TEST(Printing, LatchedRegistersThenABlankLine) {
    Machine m;
    m.host.printSwitch[1] = false; // X and Z latched
    m.Keys("1 2 PSpc");
    ASSERT_EQ(m.host.printed.size(), 2u);
    EXPECT_EQ(m.host.printed[0], "SSSSSSS12PSS");
    m.Keys("PSpc");
    ASSERT_EQ(m.host.printed.size(), 3u);
    EXPECT_EQ(m.host.printed[2], kBlankPrintLine);
}

TEST(Printing, OnlyOnLatchedGivesABlankLineAndOffPrintsNothing) {
    Machine m;
    m.host.printSwitch[0] = m.host.printSwitch[1] = m.host.printSwitch[2] = false;
    m.Keys("PSpc");
    ASSERT_EQ(m.host.printed.size(), 1u);
    EXPECT_EQ(m.host.printed[0], kBlankPrintLine);
    m.host.printerOn = false;
    m.Keys("PSpc");
    EXPECT_EQ(m.host.printed.size(), 1u);
}

TEST(Printing, FloatLinesHaveFifteenCells) {
    Machine m;
    m.calc.FloatMode = true;
    m.host.printSwitch[1] = m.host.printSwitch[2] = false;
    m.Keys("Pi PSpc");
    EXPECT_EQ(m.host.printed.at(0), "S3P141592653S00");
}

TEST(Flag, IfFlagBranchesOnceAndClearsTheFlag) {
    Machine m;
    m.Keys("StFg");
    EXPECT_TRUE(m.calc.Flags.UserFlag);
    m.Keys("IfFg");
    EXPECT_FALSE(m.calc.Flags.UserFlag);
    EXPECT_TRUE(m.calc.Flags.GoToPending);
    m.Keys("1 2");
    EXPECT_EQ(m.calc.PcRow, 1);
    EXPECT_EQ(m.calc.PcStep, 2);
    m.Keys("IfFg"); // flag clear: skip the address
    EXPECT_FALSE(m.calc.Flags.GoToPending);
    EXPECT_EQ(m.calc.PcStep, 4);
}

TEST(Tests, SpecialFollowUps) {
    {
        Machine m; // CHG SIGN after a true test flips the exponent sign of X
        m.calc.RegisterFile[0][1] = 032;
        m.Keys("2 SHUP 1 X<Y?");
        EXPECT_EQ(m.calc.XReg[kExpTens] & kSignBit, kSignBit);
        EXPECT_EQ(m.calc.PcStep, 1);
    }
    {
        Machine m; // RCL: X takes f and the counter jumps to a random address
        m.calc.RegisterFile[0][1] = 061;
        ASSERT_TRUE(ExtToReg(m.calc.RegisterFile[15], 6.0L));
        int draws = 0;
        m.calc.RandomDigit = [&draws] { return ++draws == 1 ? 4 : 7; };
        m.Keys("2 SHUP 1 X<Y?");
        EXPECT_EQ(m.X(), 6.0L);
        EXPECT_EQ(m.calc.PcRow, 4);
        EXPECT_EQ(m.calc.PcStep, 7);
    }
    {
        Machine m; // point, 01: X becomes -1E-10 in the first bank
        m.calc.RegisterFile[0][1] = 021;
        m.calc.RegisterFile[0][2] = 001;
        m.Keys("2 SHUP 1 X<Y?");
        EXPECT_EQ(m.X(), -1E-10L);
        EXPECT_EQ(m.calc.PcStep, 2);
    }
}

TEST(Subroutines, CallAndReturn) {
    Machine m;
    m.Keys("GoTo SRet 2 0");
    EXPECT_EQ(m.calc.PcRow, 2);
    EXPECT_EQ(m.calc.ReturnTop, 1);
    EXPECT_EQ(m.calc.ReturnStack[0].Row, 0);
    m.Keys("SRet");
    EXPECT_EQ(m.calc.PcRow, 0);
    EXPECT_EQ(m.calc.ReturnTop, 0);
}

TEST(Subroutines, RingOfFiveOverwritesTheOldest) {
    Machine m;
    for (int call = 1; call <= 6; ++call) {
        m.calc.PcRow = call;
        m.calc.PcStep = 0;
        m.Keys("GoTo SRet 9 9");
    }
    int expected[] = {6, 5, 4, 3, 2, 6};
    for (int ret : expected) {
        m.Keys("SRet");
        EXPECT_EQ(m.calc.PcRow, ret);
    }
}

TEST(Peripherals, FmtWithNothingAttachedStopsAProgram) {
    Machine m;
    m.calc.Running = true;
    m.calc.ExecuteKey(pos::Fmt);
    EXPECT_FALSE(m.calc.Running);
}

TEST(Peripherals, PlotterTakesShiftUpAfterFmt) {
    Machine m;
    m.host.plotter = true;
    m.Keys("1 2 3 4 5 SHUP 7 FMT SHUP");
    ASSERT_FALSE(m.host.plotterPort.commands.empty());
    EXPECT_EQ(m.host.plotterPort.commands.back(), (std::vector<int>{3, 2, 7, 20000}));
    EXPECT_EQ(m.Y(), 12345.0L);                       // taken: no stack move
    m.host.plotterPort.reply = PlotterReply::Refused; // refused: the key does its ordinary work
    m.Keys("FMT SHUP");
    EXPECT_EQ(m.Y(), 7.0L);
    m.host.plotterPort.reply = PlotterReply::Busy; // busy: a wait is requested
    m.Keys("FMT SHDN");
    EXPECT_EQ(m.calc.PendingAction, pending::WaitPlotter);
    EXPECT_TRUE(m.host.timerActive);
}

TEST(Power, KeysAreIgnoredWhileOff) {
    Machine m;
    m.calc.PowerOn = false;
    m.Keys("5");
    EXPECT_EQ(m.X(), 0.0L);
    EXPECT_EQ(m.calc.XReg[9], kBlankBit);
}

TEST(ExtendedMemory, FmtPrefixedKeysGoThroughThePortAndShowItsCode) {
    const std::pair<const char*, const char*> rows[] = {
        {"FMT Pi", "pi"},      {"FMT StFg", "setflag"}, {"FMT Y>[]", "storey"},
        {"FMT FMT", "fmtfmt"}, {"FMT GoTo", "goto"},
    };
    for (auto [keys, call] : rows) {
        Machine m;
        m.host.extMem = m.host.extPort.on = true;
        m.host.extPort.reply = ExtResult::BadAddress;
        m.Keys(keys);
        ASSERT_FALSE(m.host.extPort.calls.empty()) << keys;
        EXPECT_EQ(m.host.extPort.calls.back(), call) << keys;
        EXPECT_EQ(m.X(), 3.33333333333E15L) << keys; // code 3 shown in X
    }
}

TEST(ExtendedMemory, ProgramCallsWorkOnTheProgramMemoryTheEngineLends) {
    Machine m;
    m.host.extMem = m.host.extPort.on = true;
    auto firstSteps = [&m] {
        const TCalcRegister& row = m.calc.RegisterFile[0];
        return std::vector<int32_t>{row[0], row[1], row[2]};
    };
    m.Program("7 FMT End");
    m.host.extPort.called = firstSteps();
    // FMT FMT stores from step 0 on; the counter rests on the END step.
    m.calc.PcStep = 5;
    m.Keys("FMT FMT");
    EXPECT_EQ(m.host.extPort.stored, firstSteps());
    EXPECT_EQ(std::make_pair(m.calc.PcRow, m.calc.PcStep), std::make_pair(0, 2));
    // The call runs the program it loaded from step 0; its END runs on where the return left
    // the counter (the caller's STOP).
    m.calc.PcRow = m.calc.PcStep = 0;
    m.Program("FMT GoTo Stop");
    m.host.extPort.caller = firstSteps();
    m.host.extPort.back = {0, 2};
    m.host.extPort.calls.clear();
    m.Keys("Cont");
    m.Tick();
    EXPECT_EQ(m.host.extPort.calls,
              (std::vector<std::string>{"lampoff", "goto", "lampoff", "end", "lampoff"}));
    EXPECT_EQ(m.X(), 7.0L);
    EXPECT_FALSE(m.calc.Running);
}

TEST(ExtendedMemory, SwitchedOffMemoryIsNotAsked) {
    Machine m;
    m.host.extMem = true; // the window exists, its switch is off
    m.Keys("FMT GoTo 0 0");
    EXPECT_TRUE(m.host.extPort.calls.empty());
    EXPECT_FALSE(m.calc.Flags.GoToPending); // GO TO took its address
}
