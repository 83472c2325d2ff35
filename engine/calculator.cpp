#include "engine/calculator.h"

#include <algorithm>
#include <memory>
#include <random>
#include <utility>

namespace orrindale {

uint8_t& TEngineFlags::Slot(int index) {
    // The order of the saved state.
    uint8_t* const slots[kSlots] = {
        &EntryActive,      &ExponentEntry,     &PointEntered,   &ArcPending,  &HyperPending,
        &UserFlag,         &RegisterPrefix,    &RecallToX,      &SourceIsX,   &ExchangeY,
        &GoToPending,      &FirstAddressDigit, &SubroutineCall, &PrintedOnce, &LeadingZeros,
        &StartedWithPoint, &FmtPending,        &Reserved[0],    &Reserved[1], &Reserved[2],
    };
    return *slots[index < 0 || index >= kSlots ? kSlots - 1 : index];
}

Calculator::Calculator(EngineHost& host) : host_(host) {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    RandomDigit = [engine] { return std::uniform_int_distribution<int>(0, 9)(*engine); };
    StepsPerSleep = ComputeStepsPerSleep(RunSpeed);
    ResetMachine();
}

void Calculator::ResetMachine() {
    ClearReg(XReg, true);
    ClearReg(YReg, true);
    ClearReg(ZReg, true);
    ClearReg(ZSave, true);
    for (auto& r : RegisterFile)
        ClearReg(r, false);
    ReturnStack = {};
    ReturnTop = 0;
    Flags = TEngineFlags{};
    Running = false;
    NoAdvance = false;
    BankSelect = 0;
    AddrRow = 0;
    BusyTicks = 0;
    PauseTicks = 0;
    PcRow = 0;
    PcStep = 0;
    EntryPos = 9;
    ExpCount = 10;
    EntrySign = 0;
    ErrorAtPowerOn = false;
    ReservedState = 0;
    // The zeroed memory must not start running at the next power-on.
    RunAtPowerOn = false;
    PendingAction &= ~(pending::Run | pending::WaitPlotter);
}

long double Calculator::SetError(int sign) {
    bool lit = sign != 0;
    bool changed = lit != ErrorLit;
    ErrorLit = lit;
    if (changed) host_.RedrawDisplay();
    if (sign > 0) return 9.99999999999E99L;
    if (sign < 0) return -9.99999999999E99L;
    return 0.0L;
}

void Calculator::InternalError(int code) {
    host_.ShowInternalError("ERROR: Internal data problem - (" + std::to_string(code) + ")");
    PowerOffAction();
}

bool Calculator::SetPowerSwitch(bool on) {
    const bool moved = PowerOn != on;
    PowerOn = on;
    RequestPower(on);
    return moved;
}

bool Calculator::SetAngleMode(bool rad) {
    return std::exchange(RadMode, rad) != rad;
}

bool Calculator::SetDisplayMode(bool floatMode) {
    return std::exchange(FloatMode, floatMode) != floatMode;
}

bool Calculator::SetDecimalWheel(int value) {
    const int clamped = std::clamp(value, 0, 9);
    return std::exchange(DecimalWheel, clamped) != clamped;
}

void Calculator::ApplyRunSpeed(int speed) {
    RunSpeed = speed;
    StepsPerSleep = ComputeStepsPerSleep(speed);
}

void Calculator::AbandonRun() {
    Running = false;
    PendingAction &= ~(pending::Run | pending::WaitPlotter);
}

bool Calculator::BeginListing() {
    if (Running || ListingMode != 0) return false;
    PrintQueue.clear();
    ZSave = ZReg;
    ListingMode = ProgramMode ? 1 : 2;
    return true;
}

void Calculator::EndListing() {
    const int mode = std::exchange(ListingMode, 0);
    if (mode == 1) {
        ZSave = ZReg;
    } else if (mode == 2) {
        ZReg = ZSave;
        ClearReg(XReg, true);
        NoAdvance = false;
        EndEntry();
    }
}

} // namespace orrindale
