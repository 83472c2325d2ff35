// The machine state lines, given as the plain text of the file's body. A failed load must leave
// the calculator as it was; a successful one may only hand the engine values it can hold, and
// what it loaded must survive a save and a load.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/null_host.h"
#include "panel/machinestate.h"

namespace {

using namespace orrindale;

bool IsRow(int r) {
    return (r >= 0 && r <= 13) || (r >= 16 && r <= 29);
}
bool IsStep(int s) {
    return s >= 0 && s <= 13;
}

bool EngineCanHold(const Calculator& c) {
    for (const auto& a : c.ReturnStack)
        if (!IsRow(a.Row) || !IsStep(a.Step)) return false;
    for (const auto& r : c.RegisterFile)
        for (int w = 0; w < kWords; ++w)
            if (r[w] < 0 || r[w] > kWordMask) return false;
    for (int i = 0; i < TEngineFlags::kSlots; ++i)
        if (c.Flags.Slot(i) > 1) return false;
    return IsRow(c.PcRow) && IsStep(c.PcStep) && c.AddrRow >= 0 && c.AddrRow <= 13 &&
           c.ReturnTop >= 0 && c.ReturnTop <= 4 && c.BankSelect >= 0 && c.BankSelect <= 2 &&
           c.EntryPos >= 0 && c.EntryPos < kWords && c.ExpCount >= 10 && c.ExpCount <= 12 &&
           (c.EntrySign == 0 || c.EntrySign == kSignBit);
}

bool Same(const MachineState& a, const MachineState& b) {
    for (size_t i = 0; i < a.ReturnStack.size(); ++i)
        if (a.ReturnStack[i].Row != b.ReturnStack[i].Row ||
            a.ReturnStack[i].Step != b.ReturnStack[i].Step)
            return false;
    return a.RegisterFile == b.RegisterFile && a.XReg == b.XReg && a.YReg == b.YReg &&
           a.ZReg == b.ZReg && a.ZSave == b.ZSave && a.Flags == b.Flags &&
           a.RunAtPowerOn == b.RunAtPowerOn && a.NoAdvance == b.NoAdvance &&
           a.PendingAction == b.PendingAction && a.PcRow == b.PcRow && a.PcStep == b.PcStep &&
           a.AddrRow == b.AddrRow && a.ReturnTop == b.ReturnTop && a.BankSelect == b.BankSelect &&
           a.ReservedState == b.ReservedState && a.EntryPos == b.EntryPos &&
           a.ExpCount == b.ExpCount && a.EntrySign == b.EntrySign && a.ErrorLamp == b.ErrorLamp;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NullEngineHost host;
    static Calculator calc(host);
    calc.ResetMachine();
    const TextList lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const MachineState before = CaptureForLoad(calc);
    MachineState staged = before;
    if (!ApplyMachineStateLines(lines, staged)) {
        if (!Same(CaptureForLoad(calc), before)) __builtin_trap();
        return 0;
    }
    CommitMachineState(staged, calc);
    if (!EngineCanHold(calc)) __builtin_trap();
    // Registers 32-63 are written but never read back, so they are carried over by hand.
    MachineState reread;
    std::copy(staged.RegisterFile.begin() + 32, staged.RegisterFile.end(),
              reread.RegisterFile.begin() + 32);
    if (!ApplyMachineStateLines(MachineStateLines(staged), reread) || !Same(reread, staged))
        __builtin_trap();
    return 0;
}
