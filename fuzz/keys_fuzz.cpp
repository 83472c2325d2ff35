// Random key sequences, switch settings and register words through the engine, programs run
// with a step budget. Every display and printer line must end and be 12 to 18 cells of display
// symbols, a number's line with exactly one point, and every register word must stay within
// its six bits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/calculator.h"
#include "engine/null_host.h"

namespace {

using namespace orrindale;

// Follows the mode-change timer so that programs run; everything else does nothing.
class TimerHost : public NullEngineHost {
public:
    bool timer = false;
    void StartChgModeTimer() override { timer = true; }
    void StopChgModeTimer() override { timer = false; }
};

constexpr uint64_t kStepBudget = 3000;
constexpr int kTimerFirings = 8;

// 12 to 18 cells of display symbols.
bool GoodCells(const std::string& line) {
    return line.size() >= 12 && line.size() <= 18 &&
           line.find_first_not_of("0123456789PMABCDS") == std::string::npos;
}

// A register holding program codes 10-15 shows its words raw, code 13 as a point, so only a
// number's line is held to a single point.
bool IsNumber(const TCalcRegister& r) {
    for (int w = 0; w <= kExpTens; ++w)
        if ((r[w] & kDigitMask) > 9) return false;
    return true;
}

bool GoodNumberLines(const Calculator& calc, const TCalcRegister& r) {
    for (bool printer : {false, true}) {
        for (bool exponentEntry : {false, true}) {
            const std::string line = calc.FormatRegister(r, printer, exponentEntry);
            if (!GoodCells(line)) return false;
            if (IsNumber(r) && std::count(line.begin(), line.end(), 'P') != 1) return false;
        }
    }
    return true;
}

bool GoodWords(const TCalcRegister& r) {
    for (int w = 0; w < kWords; ++w)
        if (r[w] < 0 || r[w] > kWordMask) return false;
    return true;
}

void Check(Calculator& calc) {
    for (const std::string& line : calc.DisplayLines())
        if (!GoodCells(line)) __builtin_trap();
    for (const std::string& line : calc.PrintQueue)
        if (!GoodCells(line)) __builtin_trap();
    calc.PrintQueue.clear();
    for (const TCalcRegister* r : {&calc.XReg, &calc.YReg, &calc.ZReg})
        if (!GoodNumberLines(calc, *r)) __builtin_trap();
    for (const TCalcRegister* r : {&calc.XReg, &calc.YReg, &calc.ZReg, &calc.ZSave})
        if (!GoodWords(*r)) __builtin_trap();
    for (const TCalcRegister& r : calc.RegisterFile)
        if (!GoodWords(r)) __builtin_trap();
}

TCalcRegister& RegisterAt(Calculator& calc, int index) {
    switch (index) {
    case 64: return calc.XReg;
    case 65: return calc.YReg;
    case 66: return calc.ZReg;
    default: return calc.RegisterFile[static_cast<size_t>(index & 63)];
    }
}

// One operation from the input: a key (as the panel lets it through), a switch, a register
// word, or the mode-change timer firing. Returns how many bytes it took.
size_t Apply(Calculator& calc, TimerHost& host, const uint8_t* d, size_t left) {
    const int op = d[0] >> 5, arg = d[0] & 31;
    if (op <= 3) { // keys are the common case
        const TKeyPos p = 1 + (d[0] % kKeyCount);
        if (!calc.Running || p == keypos::Stop) calc.ExecuteKeyByHand(p);
        return 1;
    }
    switch (op) {
    case 4: calc.SetDecimalWheel(arg % 10); break;
    case 5:
        if (arg & 1) calc.SetDisplayMode((arg & 2) != 0);
        if (arg & 4) calc.SetAngleMode((arg & 8) != 0);
        if (arg & 16) calc.SetProgramMode((arg & 2) != 0);
        break;
    case 6:
        if (left < 3) return left;
        RegisterAt(calc, d[1] % 67)[d[2] % kWords] = (d[2] >> 2) & kWordMask;
        return 3;
    default:
        if (arg == 31) calc.SetPowerSwitch(!calc.PowerOn);
        break;
    }
    calc.StepsExecuted = 0;
    for (int i = 0; i < kTimerFirings && host.timer; ++i)
        calc.ChgModeTimerTimer();
    return 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TimerHost host;
    Calculator calc(host);
    calc.RandomDigit = [] { return 3; };
    calc.PowerOn = true;
    calc.StepLimit = kStepBudget;
    for (size_t at = 0; at < size;) {
        at += Apply(calc, host, data + at, size - at);
        Check(calc);
    }
    return 0;
}
