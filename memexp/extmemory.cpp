#include "memexp/extmemory.h"

#include <climits>
#include <string>

#include "engine/calculator.h"

namespace orrindale {

namespace {

constexpr int kEndStep = 38; // END, octal 46
constexpr int kFileRows = 64;

bool IsEnd(int32_t word) {
    return (word & kWordMask) == kEndStep;
}

// The number of a register as if keyed into X: its digits from word 9 on, the rest blank.
void WriteRegisterNumber(TCalcRegister& x, int number) {
    ClearReg(x, true);
    // A keyed 0 leaves every digit blank and reads "0."; a shown leading 0 would read ".".
    if (number == 0) return;
    const std::string digits = std::to_string(number);
    for (size_t i = 0; i < digits.size(); ++i)
        x[kLeadWord - static_cast<int>(i)] = digits[i] - '0';
    // As keying does: each digit after the first raises the exponent, so 10 reads 10, not 1.0.
    x[kExpUnits] = static_cast<int>(digits.size()) - 1;
}

bool ValidRegister(int a) {
    return a >= 0 && a < kMemRegisters;
}

// The walk through the calculator's side of a transfer: the register file in index order.
// It ends after step 13 of row 63, the last word there is; a transfer that gets that far
// without its END stops with code 5 (no END where one was needed) and writes nothing past
// row 63. The stop also ends calls into a memory whose protect line stands at 248, which the
// memory side alone would never meet.
bool StepCalculator(int& row, int& step) {
    if (++step < kWords) return true;
    step = 0;
    return ++row < kFileRows;
}

} // namespace

void MemoryImage::ResetMemoryState() {
    protectLine = 0;
    progDirectory.clear();
    callTop = 0;
    callStack.fill(Call{});
    currentProgram = 0;
}

void MemoryImage::ClearMemory() {
    for (TCalcRegister& r : memWords)
        r = TCalcRegister{};
    ResetMemoryState();
}

int MemoryImage::FindProgram(int number) const {
    for (size_t i = 0; i < progDirectory.size(); ++i)
        if (progDirectory[i].Number == number) return static_cast<int>(i);
    return -1;
}

int MemAddress(const TCalcRegister& r) {
    long long n = 0;
    for (int w = kLeadWord; w >= 0; --w) {
        if (r[w] & kBlankBit) break;
        n = n * 10 + DigitOf(r[w]);
    }
    return n > INT_MAX ? -1 : static_cast<int>(n);
}

void ExtMemory::SetLamp(bool lit) {
    if (fmtLamp_ == lit) return;
    fmtLamp_ = lit;
    if (lampChanged_) lampChanged_();
}

void ExtMemory::SetLine(bool on) {
    lineOn_ = on;
    if (!on) SetLamp(false);
}

ExtResult ExtMemory::Fail(ExtResult code) {
    SetLamp(true);
    return code;
}

ExtResult ExtMemory::SetFlag(TCalcRegister& x) {
    if (filOn_) return Fail(ExtResult::FileSwitchOn);
    const int n = MemAddress(x);
    if (n > 999) return Fail(ExtResult::NumberTooLong);
    if (ValidRegister(n)) {
        image_.protectLine = n; // down as well as up; the directory stays as it is
        return ExtResult::Done;
    }
    if (n == kMemRegisters) image_.protectLine = n; // everything protected, and still code 3
    return Fail(ExtResult::BadAddress);
}

ExtResult ExtMemory::StoreY(TCalcRegister& x, TCalcRegister& y) {
    const int a = MemAddress(x);
    if (!ValidRegister(a)) return Fail(ExtResult::BadAddress);
    if (a < image_.protectLine) return Fail(ExtResult::Protected);
    CopyReg(y, image_.memWords[static_cast<size_t>(a)]);
    return ExtResult::Done;
}

ExtResult ExtMemory::Pi(TCalcRegister& x) {
    const int a = MemAddress(x);
    if (!ValidRegister(a)) return Fail(ExtResult::BadAddress);
    CopyReg(image_.memWords[static_cast<size_t>(a)], x); // protected registers may be read
    return ExtResult::Done;
}

ExtResult ExtMemory::Arith(long double& y, TCalcRegister& x, int op) {
    const int a = MemAddress(x);
    if (!ValidRegister(a)) return Fail(ExtResult::BadAddress);
    TCalcRegister& reg = image_.memWords[static_cast<size_t>(a)];
    long double m = 0, r = 0;
    if (!RegToExt(reg, m)) m = 0;
    // The memory register is the left operand. Division by zero is no error code here: the
    // register takes the largest value, and the calculator's lamp stays out.
    switch (op) {
    case 0: r = m + y; break;
    case 1: r = m - y; break;
    case 2: r = m * y; break;
    default: r = y == 0 ? (y < 0 ? -9.99999999999E99L : 9.99999999999E99L) : m / y; break;
    }
    r = LimitExt(RoundExt(r));
    if (a < image_.protectLine) {
        y = r;
        return Fail(ExtResult::ResultInY);
    }
    ExtToReg(reg, r);
    Calculator::ShowDigits(reg, false);
    return ExtResult::Done;
}

ExtResult ExtMemory::FmtFmt(TCalcRegister& x, ProgramMemory program) {
    const int n = MemAddress(x);
    if (n < 0 || n > kMaxProgramNumber) return Fail(ExtResult::BadProgramNumber);
    if (image_.protectLine >= kMemRegisters) return Fail(ExtResult::MemoryFull);
    const int start = image_.protectLine;
    int reg = start, word = 0;
    int& row = program.PcRow;
    int& step = program.PcStep;
    if (row < 0 || row >= kFileRows || step < 0 || step >= kWords) row = step = 0;
    for (;;) {
        const int32_t code = program.Steps[static_cast<size_t>(row)][step];
        image_.memWords[static_cast<size_t>(reg)][word] = code;
        if (IsEnd(code)) {
            WriteRegisterNumber(x, reg);
            image_.progDirectory.push_back({n, start});
            image_.protectLine = reg + 1;
            return ExtResult::Done; // the program counter rests on the END step
        }
        int nextRow = row, nextStep = step;
        const bool calculatorGoesOn = StepCalculator(nextRow, nextStep);
        if (++word == kWords) {
            word = 0;
            ++reg;
        }
        if (reg >= kMemRegisters) {
            // The steps copied so far stay; the directory does not learn of them.
            if (calculatorGoesOn) row = nextRow, step = nextStep;
            image_.protectLine = kMemRegisters;
            return Fail(ExtResult::MemoryFull);
        }
        if (!calculatorGoesOn) return Fail(ExtResult::NoEnd);
        row = nextRow;
        step = nextStep;
    }
}

ExtResult ExtMemory::Load(int start, int& endRegister, ProgramMemory program) {
    int reg = start, word = 0, row = 0, step = 0;
    for (;;) {
        const int32_t code = image_.memWords[static_cast<size_t>(reg)][word];
        program.Steps[static_cast<size_t>(row)][step] = code;
        if (IsEnd(code)) {
            endRegister = reg;
            return ExtResult::Done;
        }
        if (!StepCalculator(row, step)) return ExtResult::NoEnd;
        if (++word == kWords) {
            word = 0;
            reg = (reg + 1) % kMemRegisters; // calls pass from register 247 to register 0
            if (reg == image_.protectLine) return ExtResult::NoEnd;
        }
    }
}

ExtResult ExtMemory::GoTo(TCalcRegister& x, ProgramMemory program) {
    const int n = MemAddress(x);
    if (n < 0 || n > kMaxProgramNumber) return Fail(ExtResult::BadProgramNumber);
    const int k = image_.FindProgram(n);
    if (k < 0) return ExtResult::Done; // an unknown program: the calculator's own runs on
    const int start = image_.progDirectory[static_cast<size_t>(k)].Start;
    if (start >= image_.protectLine) return Fail(ExtResult::ProgramProtected);
    int returnRow = program.PcRow, returnStep = program.PcStep;
    AdvancePc(returnRow, returnStep);
    int endRegister = 0;
    if (Load(start, endRegister, program) != ExtResult::Done) return Fail(ExtResult::NoEnd);
    WriteRegisterNumber(x, endRegister);
    image_.callStack[static_cast<size_t>(image_.callTop)] = {image_.currentProgram, returnRow,
                                                             returnStep};
    image_.callTop = (image_.callTop + 1) % kCallDepth; // the oldest call is forgotten
    image_.currentProgram = n;
    return ExtResult::Done;
}

ExtResult ExtMemory::End(TCalcRegister& x, ProgramMemory program) {
    image_.callTop = (image_.callTop + kCallDepth - 1) % kCallDepth;
    const MemoryImage::Call back = image_.callStack[static_cast<size_t>(image_.callTop)];
    const int k = image_.FindProgram(back.Caller);
    if (k < 0) return ExtResult::Done; // a caller never stored cannot be reloaded
    const int start = image_.progDirectory[static_cast<size_t>(k)].Start;
    // An unprotected caller is reloaded all the same; the code tells of it afterwards.
    const ExtResult code =
        start >= image_.protectLine ? ExtResult::ProgramProtected : ExtResult::Done;
    int endRegister = 0;
    if (Load(start, endRegister, program) != ExtResult::Done) return Fail(ExtResult::NoEnd);
    WriteRegisterNumber(x, endRegister);
    program.PcRow = back.Row;
    program.PcStep = back.Step;
    image_.currentProgram = back.Caller;
    return code == ExtResult::Done ? code : Fail(code);
}

} // namespace orrindale
