// The engine's view of the two peripherals that answer it: the plotter and the extended memory.
// The host hands them out (EngineHost::Plotter, EngineHost::ExtMemory) while their windows
// exist; without the window it hands out null. Each call is made from the user interface
// thread inside a key or a program step, and none may call back into the engine: what a device
// reads or writes of the calculator is handed to it with the call.
#pragma once

#include "engine/registers.h"

namespace orrindale {

// What the plotter is told after FMT (STOP always reaches it).
enum class PlotterCommand { Stop = 1, ShiftDown = 2, ShiftUp = 3 };
// Its answer to a command: taken, busy (the step waits and is run again when ready), or
// refused (the key does its usual work instead).
enum class PlotterReply { Taken = 1, Busy = 4, Refused = 5 };
// What the run loop's wait polls: still busy, switched off (the program stops), or ready.
enum class PlotterStatus { Busy = 4, Off = 5, Ready = 6 };

class PlotterPort {
public:
    virtual ~PlotterPort() = default;
    // Queues a move or pen command with the wheel setting and the integer parts of X and Y
    // (limited to +-20000). Does not pump messages.
    virtual PlotterReply Command(PlotterCommand command, int wheel, int x, int y) = 0;
    // Does not pump messages.
    virtual PlotterStatus State() const = 0;
};

// Result codes of the extended memory operations; X shows a code above 0 as a digit
// pattern and a running program stops.
enum class ExtResult {
    Done = 0,
    Protected = 1,        // the register is below the protect line
    ResultInY = 2,        // arithmetic on a protected register: the result went to Y only
    BadAddress = 3,       // the address is outside 0-247
    MemoryFull = 4,       // no room left to store the program
    NoEnd = 5,            // the program reached the protect line without its END step
    ProgramProtected = 6, // the program starts at or above the protect line
    FileSwitchOn = 7,     // the FIL switch holds the protect line
    NumberTooLong = 8,    // more than three digits for the protect line
    BadProgramNumber = 9, // a program number outside 0-99
};

// The calculator's program memory and program counter, lent to the extended memory for the one
// call that stores a program from it or loads one into it.
struct ProgramMemory {
    std::array<TCalcRegister, 64>& Steps; // row r step w is word w of register r
    int& PcRow;
    int& PcStep;
};

class ExtMemoryPort {
public:
    virtual ~ExtMemoryPort() = default;
    // Whether its power switch is on; the operations below are only called then. No pumping.
    virtual bool On() const = 0;
    // Memory arithmetic, the memory register left of the operator (op 0 add, 1 subtract,
    // 2 multiply, 3 divide); y is the Y value in and the result out. No pumping.
    virtual ExtResult Arith(long double& y, TCalcRegister& x, int op) = 0;
    // Recall the register X addresses into X. No pumping.
    virtual ExtResult Pi(TCalcRegister& x) = 0;
    // Move the protect line to the register X names. No pumping.
    virtual ExtResult SetFlag(TCalcRegister& x) = 0;
    // Store Y in the register X addresses. No pumping.
    virtual ExtResult StoreY(TCalcRegister& x, TCalcRegister& y) = 0;
    // Store program memory from the program counter on under the number in X, moving the
    // counter along. No pumping.
    virtual ExtResult FmtFmt(TCalcRegister& x, ProgramMemory program) = 0;
    // Call the program numbered in X: load it into program memory; the counter says where the
    // caller goes on on its return. No pumping.
    virtual ExtResult GoTo(TCalcRegister& x, ProgramMemory program) = 0;
    // Return from a called program: reload the caller and set the program counter. No pumping.
    virtual ExtResult End(TCalcRegister& x, ProgramMemory program) = 0;
    // Put out the panel's lamp that shows a pending FMT. No pumping.
    virtual void LampOff() = 0;
};

} // namespace orrindale
