// The HP 9101A memory against a real engine: storing, recalling and combining registers, the
// protect line, storing, calling and returning from programs, and the result codes in X.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "memexp/extmemory.h"

using namespace orrindale;
using orrindale::testing::Machine;

namespace {

constexpr int kEnd = 38;

struct Attached {
    Machine m;
    ExtMemory mem;
    MemoryImage& image = mem.Image();

    Attached() {
        m.host.realExtMem = &mem;
        mem.SetLine(true);
    }
    long double Reg(int r) const { return Machine::Value(image.memWords[static_cast<size_t>(r)]); }
    void SetReg(int r, long double v) { ExtToReg(image.memWords[static_cast<size_t>(r)], v); }
    // A program of count steps (codes 1, 2, ...) whose last step is END, from row 0 step 0.
    void Program(int count) {
        for (int n = 0; n < count; ++n)
            m.calc.RegisterFile[static_cast<size_t>(n / kWords)][n % kWords] =
                n == count - 1 ? kEnd : 1 + n % 30;
    }
};

// X keyed as on the keyboard: the digits, the rest blank.
TCalcRegister Keyed(const std::string& digits) {
    TCalcRegister r;
    ClearReg(r, true);
    for (size_t i = 0; i < digits.size(); ++i)
        r[kLeadWord - static_cast<int>(i)] = digits[i] - '0';
    return r;
}

} // namespace

TEST(ExtMemoryModel, MemAddressReadsTheDigitsAsKeyed) {
    const std::pair<const char*, int> rows[] = {
        {"", 0},
        {"5", 5},
        {"247", 247},
        {"0000000012", 12},
        {"2147483647", 2147483647},
        {"9999999999", -1},
        {"2147483648", -1},
    };
    for (auto [digits, expected] : rows)
        EXPECT_EQ(MemAddress(Keyed(digits)), expected) << digits;
    TCalcRegister glyphs = Keyed("12");
    glyphs[kLeadWord] = 0x1C; // a sign bit and a glyph code: the digit reads 0
    EXPECT_EQ(MemAddress(glyphs), 2);
}

TEST(ExtMemoryModel, StoreYAndItsProtectedRegister) {
    Attached a;
    a.m.Keys("7 SHUP 5 FMT Y>[]");
    EXPECT_EQ(a.Reg(5), 7.0L);
    EXPECT_FALSE(a.mem.FmtLamp());
    a.image.protectLine = 6;
    a.m.Keys("8 SHUP 5 FMT Y>[]");
    EXPECT_EQ(a.Reg(5), 7.0L);
    EXPECT_EQ(a.m.X(), 1.11111111111E15L); // code 1
    EXPECT_TRUE(a.mem.FmtLamp());
}

TEST(ExtMemoryModel, RecallReadsProtectedRegistersAndRefusesBadAddresses) {
    Attached a;
    a.SetReg(200, 42);
    a.image.protectLine = 248;
    a.m.Keys("2 0 0 FMT Pi");
    EXPECT_EQ(a.m.X(), 42.0L);
    a.m.Keys("2 4 8 FMT Pi");
    EXPECT_EQ(a.m.X(), 3.33333333333E15L); // code 3
}

TEST(ExtMemoryModel, SetFlagMovesTheProtectLine) {
    struct Case {
        const char* keys;
        bool fil;
        int protectAfter;
        long double x;
    };
    const Case cases[] = {
        {"1 2 FMT StFg", false, 12, 12.0L},
        {"0 FMT StFg", false, 0, 0.0L}, // down as well as up
        {"2 4 8 FMT StFg", false, 248, 3.33333333333E15L},
        {"2 4 9 FMT StFg", false, 30, 3.33333333333E15L},
        {"1 0 0 0 FMT StFg", false, 30, 7.77777777777E13L},
        {"1 2 FMT StFg", true, 30, 6.66666666666E15L},
    };
    for (const Case& c : cases) {
        Attached a;
        a.image.protectLine = 30;
        a.mem.SetFil(c.fil);
        a.m.Keys(c.keys);
        EXPECT_EQ(a.image.protectLine, c.protectAfter) << c.keys;
        EXPECT_EQ(a.m.X(), c.x) << c.keys;
    }
}

TEST(ExtMemoryModel, ArithmeticTakesTheMemoryAsLeftOperand) {
    struct Case {
        const char* op;
        long double memory, y;
        int protectLine;
        long double memoryAfter, yAfter, x;
    };
    const Case cases[] = {
        {"Sub", 10, 4, 0, 6, 4, 7},
        {"Sub", 10, 4, 8, 10, 6, 2.22222222222E15L}, // protected: the result goes to Y
        {"Div", 10, 4, 0, 2.5L, 4, 7},
        {"Mul", 10, 4, 0, 40, 4, 7},
        {"Add", 10, 4, 0, 14, 4, 7},
        {"Div", 10, 0, 0, 9.99999999999E99L, 0, 7},
    };
    for (const Case& c : cases) {
        Attached a;
        a.SetReg(7, c.memory);
        a.image.protectLine = c.protectLine;
        ExtToReg(a.m.calc.YReg, c.y);
        a.m.Keys(std::string("7 FMT ") + c.op);
        EXPECT_EQ(a.Reg(7), c.memoryAfter) << c.op << c.protectLine;
        EXPECT_EQ(a.m.Y(), c.yAfter) << c.op << c.protectLine;
        EXPECT_EQ(a.m.X(), c.x) << c.op << c.protectLine;
        EXPECT_FALSE(a.m.calc.ErrorLit) << c.op;
    }
}

TEST(ExtMemoryModel, StoringATwentyStepProgram) {
    Attached a;
    a.Program(20);
    a.m.Keys("3 FMT FMT");
    EXPECT_EQ(a.image.memWords[1][5], kEnd);
    EXPECT_EQ(a.image.memWords[0][0], 1);
    ASSERT_EQ(a.image.progDirectory.size(), 1u);
    EXPECT_EQ(a.image.progDirectory[0], (MemoryImage::Program{3, 0}));
    EXPECT_EQ(a.image.protectLine, 2);
    EXPECT_EQ(a.m.X(), 1.0L);
    EXPECT_EQ(a.m.calc.PcRow, 1);
    EXPECT_EQ(a.m.calc.PcStep, 5);
    // The next program starts in the register after it.
    a.m.Keys("4 FMT FMT");
    EXPECT_EQ(a.image.progDirectory.back(), (MemoryImage::Program{4, 2}));
    EXPECT_EQ(a.image.protectLine, 4);
}

TEST(ExtMemoryModel, StoringShowsTheLastRegisterAsIfKeyed) {
    const std::pair<int, const char*> rows[] = {{14, "0"}, {15, "1"}, {14 * 10 + 1, "1 0"}};
    for (auto [steps, keyed] : rows) {
        Attached a;
        a.Program(steps);
        a.m.Keys("3 FMT FMT");
        Machine typed;
        typed.Keys(keyed);
        EXPECT_EQ(a.m.Bottom(), typed.Bottom()) << keyed;
    }
}

TEST(ExtMemoryModel, StoringRefusesBadNumbersAndAFullMemory) {
    Attached a;
    a.Program(20);
    a.m.Keys("1 0 0 FMT FMT");
    EXPECT_EQ(a.m.X(), 7.77777777777E14L); // code 9
    a.image.protectLine = 247;
    a.m.Keys("5 FMT FMT"); // 20 steps do not fit one register
    EXPECT_EQ(a.m.X(), 4.44444444444E15L);
    EXPECT_EQ(a.image.protectLine, 248);
    EXPECT_TRUE(a.image.progDirectory.empty());
    EXPECT_EQ(a.image.memWords[247][13], 14); // what was copied stays
    a.m.Keys("5 FMT FMT");
    EXPECT_EQ(a.m.X(), 4.44444444444E15L);
}

// The register file ends after row 63: a transfer that gets there without an END stops with
// code 5 and writes nothing more.
TEST(ExtMemoryModel, TransfersStopAtTheEndOfTheRegisterFile) {
    Attached a;
    for (TCalcRegister& r : a.m.calc.RegisterFile)
        r.w.fill(1);
    a.image.memWords[64][0] = 55; // beyond 64 rows of steps: must stay
    a.m.Keys("3 FMT FMT");
    EXPECT_EQ(a.m.X(), 5.55555555555E14L);
    EXPECT_EQ(a.image.memWords[63][13], 1);
    EXPECT_EQ(a.image.memWords[64][0], 55);
    EXPECT_EQ(a.image.protectLine, 0);
    EXPECT_TRUE(a.image.progDirectory.empty());
    EXPECT_EQ(a.m.calc.PcRow, 63);
    EXPECT_EQ(a.m.calc.PcStep, 13);
    // A call into a memory protected to its end, whose program has no END, stops likewise.
    for (TCalcRegister& r : a.image.memWords)
        r.w.fill(2);
    a.image.progDirectory = {{3, 10}};
    a.image.protectLine = 248;
    a.m.Keys("3 FMT GoTo");
    EXPECT_EQ(a.m.X(), 5.55555555555E14L);
    EXPECT_EQ(a.m.calc.RegisterFile[63][13], 2);
    EXPECT_EQ(a.image.callTop, 0);
}

TEST(ExtMemoryModel, CallingLoadsTheProgramAndRemembersTheCaller) {
    Attached a;
    a.Program(20);
    a.m.Keys("3 FMT FMT");
    for (TCalcRegister& r : a.m.calc.RegisterFile)
        r = TCalcRegister{};
    a.m.calc.PcRow = 2;
    a.m.calc.PcStep = 7;
    TCalcRegister x = Keyed("3");
    EXPECT_EQ(a.mem.GoTo(x, a.m.calc.LentProgram()), ExtResult::Done);
    EXPECT_EQ(a.m.calc.RegisterFile[1][5], kEnd);
    EXPECT_EQ(a.m.calc.RegisterFile[0][0], 1);
    EXPECT_EQ(Machine::Value(x), 1.0L);
    EXPECT_EQ(a.image.callStack[0], (MemoryImage::Call{0, 2, 8}));
    EXPECT_EQ(a.image.callTop, 1);
    EXPECT_EQ(a.image.currentProgram, 3);
}

TEST(ExtMemoryModel, CallingUnknownOrUnprotectedPrograms) {
    Attached a;
    a.Program(20);
    a.m.Keys("3 FMT FMT");
    a.m.calc.RegisterFile[0][0] = 9;
    TCalcRegister x = Keyed("4");
    EXPECT_EQ(a.mem.GoTo(x, a.m.calc.LentProgram()), ExtResult::Done); // unknown: nothing loaded
    EXPECT_EQ(a.m.calc.RegisterFile[0][0], 9);
    EXPECT_EQ(a.image.callTop, 0);
    a.image.protectLine = 0;
    x = Keyed("3");
    EXPECT_EQ(a.mem.GoTo(x, a.m.calc.LentProgram()), ExtResult::ProgramProtected);
    EXPECT_EQ(a.m.calc.RegisterFile[0][0], 9);
    x = Keyed("9999999999");
    EXPECT_EQ(a.mem.GoTo(x, a.m.calc.LentProgram()), ExtResult::BadProgramNumber);
}

TEST(ExtMemoryModel, TheFifteenthNestedCallWraps) {
    Attached a;
    a.Program(3);
    a.m.Keys("1 FMT FMT");
    for (int call = 1; call <= 15; ++call) {
        a.m.calc.PcRow = 0;
        a.m.calc.PcStep = call % 10;
        TCalcRegister x = Keyed("1");
        ASSERT_EQ(a.mem.GoTo(x, a.m.calc.LentProgram()), ExtResult::Done);
        EXPECT_EQ(a.image.callTop, call % 14) << call;
    }
    EXPECT_EQ(a.image.callStack[0], (MemoryImage::Call{1, 0, 6})); // the 15th call's return
    EXPECT_EQ(a.image.callStack[1], (MemoryImage::Call{1, 0, 3}));
}

TEST(ExtMemoryModel, ReturningReloadsTheCaller) {
    Attached a;
    a.Program(3); // program 1: 1 2 END
    a.m.Keys("1 FMT FMT");
    a.m.calc.RegisterFile[0] = TCalcRegister{};
    a.m.calc.RegisterFile[0][0] = kEnd;
    a.m.Keys("2 FMT FMT"); // program 2: END alone, in register 1
    a.image.callStack[0] = {1, 16, 4};
    a.image.callTop = 1;
    TCalcRegister x;
    EXPECT_EQ(a.mem.End(x, a.m.calc.LentProgram()), ExtResult::Done);
    EXPECT_EQ(a.m.calc.RegisterFile[0][2], kEnd);
    EXPECT_EQ(a.m.calc.PcRow, 16);
    EXPECT_EQ(a.m.calc.PcStep, 4);
    EXPECT_EQ(a.image.currentProgram, 1);
    EXPECT_EQ(Machine::Value(x), 0.0L); // program 1's END lies in register 0
    // A caller that was never stored: the return does nothing but pop.
    a.m.calc.PcRow = 5;
    EXPECT_EQ(a.mem.End(x, a.m.calc.LentProgram()), ExtResult::Done); // pops entry 13, caller 0
    EXPECT_EQ(a.m.calc.PcRow, 5);
    EXPECT_EQ(a.image.callTop, 13);
    // An unprotected caller is reloaded and still answers 6.
    a.image.callStack[12] = {2, 0, 9};
    a.image.protectLine = 1;
    EXPECT_EQ(a.mem.End(x, a.m.calc.LentProgram()), ExtResult::ProgramProtected);
    EXPECT_EQ(a.m.calc.PcStep, 9);
    EXPECT_EQ(a.image.currentProgram, 2);
}

TEST(ExtMemoryModel, LampFollowsErrorsLampOffAndTheLineSwitch) {
    Attached a;
    int changes = 0;
    a.mem.OnLampChanged([&] { ++changes; });
    a.m.Keys("2 4 9 FMT Pi");
    EXPECT_TRUE(a.mem.FmtLamp());
    a.m.Keys("FMT"); // a fresh FMT puts it out
    EXPECT_FALSE(a.mem.FmtLamp());
    a.m.Keys("Clr 2 4 9 FMT Pi");
    a.mem.SetLine(false);
    EXPECT_FALSE(a.mem.FmtLamp());
    EXPECT_EQ(changes, 4);
    a.m.Keys("Clr 3 FMT Pi"); // switched off: FMT is the plain key, Pi the constant
    EXPECT_NEAR(static_cast<double>(a.m.X()), 3.14159265, 1e-8);
}

TEST(ExtMemoryModel, ClearMemoryAndResetMemoryState) {
    Attached a;
    a.Program(3);
    a.m.Keys("1 FMT FMT");
    a.image.callTop = 4;
    a.image.callStack[2] = {1, 2, 3};
    a.image.currentProgram = 7;
    a.image.ResetMemoryState();
    EXPECT_EQ(a.image.memWords[0][2], kEnd); // the words stay
    a.image.memWords[0] = TCalcRegister{};
    EXPECT_EQ(a.image, MemoryImage{});
    a.image.memWords[100][3] = 9;
    a.image.ClearMemory();
    EXPECT_EQ(a.image, MemoryImage{});
}
