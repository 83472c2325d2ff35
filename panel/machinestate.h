// The machine state file "cif9B.ini": everything the calculator needs to resume where it
// stopped, as keyed lines of a scrambled text list.
//
//   000-063  the 64 registers of the register file, 14 words each followed by "~"
//   100-103  X, Y, Z and the saved Z
//   104      the 20 engine flag slots, "-1~" or "0~" each
//   105/106  the rows, then the steps, of the five return addresses
//   107-119  RunAtPowerOn, NoAdvance, PendingAction, PcRow, PcStep, AddrRow, ReturnTop,
//            BankSelect, the reserved integer, EntryPos, ExpCount, EntrySign, error lamp
//
// A load reads into a staged copy and checks it whole before anything reaches the engine, so
// a failed load leaves the calculator exactly as it was and the caller resets it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/hpdata.h"
#include "engine/calculator.h"

namespace orrindale {

struct MachineState {
    std::array<TCalcRegister, 64> RegisterFile{};
    TCalcRegister XReg, YReg, ZReg, ZSave;
    std::array<uint8_t, TEngineFlags::kSlots> Flags{};
    std::array<TReturnAddress, 5> ReturnStack{};
    bool RunAtPowerOn = false;
    bool NoAdvance = false;
    int PendingAction = 0;
    int PcRow = 0;
    int PcStep = 0;
    int AddrRow = 0;
    int ReturnTop = 0;
    int BankSelect = 0;
    int ReservedState = 0;
    int EntryPos = 9;
    int ExpCount = 10;
    int EntrySign = 0;
    bool ErrorLamp = false; // saved from ErrorLit, restored into ErrorAtPowerOn
};

// What a save writes: the lamp as it is lit now.
MachineState CaptureForSave(const Calculator& calc);
// The starting point of a load: the current state, with the lamp to restore at power-on.
MachineState CaptureForLoad(const Calculator& calc);
// Copies a checked state into the engine.
void CommitMachineState(const MachineState& state, Calculator& calc);

TextList MachineStateLines(const MachineState& state);
// Applies the lines of a state file over state. False when a value on lines 104-119 cannot be
// converted or lies outside what the engine can hold; state may then be half-applied, so the
// caller discards it.
bool ApplyMachineStateLines(const TextList& lines, MachineState& state);

// A state file holds about 90 short keyed lines; one beyond a line per three-digit key, or
// beyond the bytes those could take, is damaged.
inline constexpr TextListLimits kMachineStateFileLimits{64u << 10, 1000};

// False when the file is missing, unreadable or damaged or holds a bad value on lines 104-119;
// the calculator is then unchanged and the caller resets it.
bool LoadMachineState(const std::string& path, Calculator& calc);
// False when the write failed; the old file is then intact.
bool SaveMachineState(const std::string& path, const Calculator& calc);

} // namespace orrindale
