// The whole simulated HP 9100B: its registers, program memory, flags and switches, and the
// operations that keys perform on them.
//
// How the pieces fit: registers.h holds the register format and its conversions, keys.h the
// key vocabulary. Calculator keeps the state and implements number entry and the display
// texts (entry.cpp, format.cpp), arithmetic (arith.cpp), the instruction executor
// (executor.cpp) and the run loop with the mode-change timer (runloop.cpp). Everything the
// engine needs from the windows goes through the EngineHost given to it (host.h).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "engine/host.h"
#include "engine/keys.h"
#include "engine/registers.h"

namespace orrindale {

// The engine flags, one byte each. The saved state keeps them as 20 slots: these 17 in this
// order, then three reserved slots.
struct TEngineFlags {
    uint8_t EntryActive = 0;
    uint8_t ExponentEntry = 0;
    uint8_t PointEntered = 0;
    uint8_t ArcPending = 0;
    uint8_t HyperPending = 0;
    uint8_t UserFlag = 0;
    uint8_t RegisterPrefix = 0;
    uint8_t RecallToX = 0;
    uint8_t SourceIsX = 0;
    uint8_t ExchangeY = 0;
    uint8_t GoToPending = 0;
    uint8_t FirstAddressDigit = 0;
    uint8_t SubroutineCall = 0;
    uint8_t PrintedOnce = 0;
    uint8_t LeadingZeros = 0;
    uint8_t StartedWithPoint = 0;
    uint8_t FmtPending = 0;
    std::array<uint8_t, 3> Reserved{};

    static constexpr int kSlots = 20;
    uint8_t& Slot(int index);
    uint8_t Slot(int index) const { return const_cast<TEngineFlags*>(this)->Slot(index); }
};

struct TReturnAddress {
    int Row = 0;
    int Step = 0;
};

// Request bits of PendingAction, read by the mode-change timer.
namespace pending {
inline constexpr int Close = 0x1;
inline constexpr int PowerOn = 0x10;
inline constexpr int PowerOff = 0x20;
inline constexpr int Run = 0x4000;
inline constexpr int ReleaseCardReader = 0x8000;
inline constexpr int ReleasePlotter = 0x10000;
inline constexpr int WaitPlotter = 0x20000;
inline constexpr int ReleaseExtMem = 0x40000;
} // namespace pending

using DisplayTexts = std::array<std::string, 3>;

inline constexpr const char* kBlankPrintLine = "SSSSSSSSSSSSSSS";
inline constexpr int kDefaultRunSpeed = 55;
// Passes between two sleeps of the run loop are kept to 1..kMaxStepsPerSleep.
inline constexpr int kMaxStepsPerSleep = 100000;

class Calculator {
public:
    explicit Calculator(EngineHost& host);
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    // ---- State ------------------------------------------------------------------------------
    TCalcRegister XReg, YReg, ZReg, ZSave;
    std::array<TCalcRegister, 64> RegisterFile{};
    int PcRow = 0, PcStep = 0;
    // Program memory and the counter, as the extended memory's program calls borrow them.
    ProgramMemory LentProgram() { return {RegisterFile, PcRow, PcStep}; }
    TEngineFlags Flags;
    int BankSelect = 0; // 0 none, 1 first bank, 2 second bank
    int AddrRow = 0;
    int EntryPos = 9;
    int ExpCount = 10;
    int EntrySign = 0;
    std::array<TReturnAddress, 5> ReturnStack{};
    int ReturnTop = 0;
    bool Running = false;
    bool NoAdvance = false;
    // The busy plotter turned the running step's command away: the step runs again when the
    // plotter is ready. A command it took holds the next step instead, until the pen arrives.
    bool PlotterRetry = false;
    int BusyTicks = 0;
    int PauseTicks = 0;
    bool ErrorLit = false;
    // The lamp state recorded in the saved state, restored at the next power-on.
    bool ErrorAtPowerOn = false;
    // A reserved integer of the saved state; kept and written back unchanged.
    int ReservedState = 0;

    bool PowerOn = false, FloatMode = false, RadMode = false, ProgramMode = false;
    int DecimalWheel = 2;

    bool FunctionResult = false;
    bool DisplayOn = false;
    bool FromMarkedCard = false; // the step being executed was fed by the marked card reader

    int PendingAction = 0;
    int RunSpeed = kDefaultRunSpeed;
    int StepsPerSleep = 51;
    bool RunAtPowerOn = false;

    // Printer lines waiting for the paper feed, and the program listing mode (nonzero while a
    // listing is being printed; the printer sets it).
    std::deque<std::string> PrintQueue;
    int ListingMode = 0;

    // Steps the run loop has executed, and an optional budget: a run (not a single step)
    // leaves the loop once StepsExecuted reaches StepLimit, the program still marked as
    // running. 0 means no limit. Tools and benchmarks use it; the panel never sets it.
    uint64_t StepsExecuted = 0;
    uint64_t StepLimit = 0;

    // Random digit 0-9 for the RCL follow-up of a true test; replaceable for tests.
    std::function<int()> RandomDigit;

    // ---- Machine state (registers.cpp primitives live in registers.h) -----------------------
    void ResetMachine();
    long double SetError(int sign);
    void InternalError(int code);

    // ---- Number entry and display texts ----------------------------------------------------
    void DigitKey(int digit);
    void PointKey();
    void ChangeSignKey();
    void EnterExpKey();
    void ResetEntry();
    void BlankTrailing(TCalcRegister& r) const;
    static void ShowDigits(TCalcRegister& r, bool integerOnly);
    std::string FormatRegister(const TCalcRegister& r, bool printer, bool exponentEntry) const;
    std::string FormatProgramLine(int which) const;
    DisplayTexts DisplayLines() const;
    // DisplayLines for drawing: clears FunctionResult, as drawing the display does.
    DisplayTexts TakeDisplayLines();
    // Whether the display shows lines now (lit, no pause counting, no program running).
    bool DisplayShowsLines() const { return DisplayOn && PauseTicks == 0 && !Running; }

    // ---- Arithmetic and functions ----------------------------------------------------------
    void Arithmetic(int op);
    void ToPolar();
    void ToRect();
    void Accumulate(int sign);
    void RecallAccumulators();
    // Shows an extended memory error code 1-9 in X; other codes change nothing.
    void ShowExtMemError(int code);
    void ShowExtMemError(ExtResult result);
    long double AngleFactor() const;

    // ---- Executor ---------------------------------------------------------------------------
    void ExecuteKey(TKeyPos k);
    void FeedKeyCode(TKeyCode code);
    void StopProgram();
    void ClearPrefixes();
    void RefreshDisplay();
    void BlankDisplay();
    void EndEntry();

    // ---- Program mode and run loop -------------------------------------------------------------
    static int ComputeStepsPerSleep(int runSpeed);
    void RunSteps(bool single);
    void ChgModeTimerTimer();
    void RequestPower(bool on);
    void PowerOnAction();
    void PowerOffAction();
    // The PRGM/RUN switch; true when it moved. PRGM stops a program and cancels a run
    // request not yet served.
    bool SetProgramMode(bool prgm);

    // ---- Panel operations: switches, wheel, listing (calculator.cpp) ---------------------------
    // The power switch: the engine takes the new position at once (a running program leaves
    // its loop) and the mode-change timer does the rest. True when the switch moved.
    bool SetPowerSwitch(bool on);
    // DEGREES/RADIANS and FIX/FLOAT; true when the setting changed.
    bool SetAngleMode(bool rad);
    bool SetDisplayMode(bool floatMode);
    // The decimal wheel, held to 0-9; true when it turned.
    bool SetDecimalWheel(int value);
    // A run speed from the settings and the passes between two sleeps that follow from it.
    void ApplyRunSpeed(int speed);
    // The state the calculator starts in, whatever was saved: switched off, display dark.
    void StartSwitchedOff() { PowerOn = DisplayOn = false; }
    // Forgets a program run, and a run request, without anything STOP does to the display,
    // the paper or the plotter: for start-up before the panel is shown.
    void AbandonRun();
    // A program listing on the printer: the display shows program steps meanwhile, so Z is
    // kept as the PRGM side of the mode switch keeps it. False (nothing starts) while a program
    // runs or a listing is printing.
    bool BeginListing();
    // Ends it as the mode switch would, from the side the listing began on; the switch itself
    // may have moved meanwhile and is not moved back.
    void EndListing();
    // Stops it where it is, without the switch action: at its END, or when the feed is
    // stopped by hand (the lines queued wait for the next feed).
    void HaltListing() { ListingMode = 0; }

    // A key pressed on the keyboard while the engine takes keys. After it, the program
    // counter is where the next run or step starts: an address keyed by hand (GO TO, END)
    // must not make that step run twice, so NoAdvance is cleared.
    void ExecuteKeyByHand(TKeyPos k);

private:
    EngineHost& host_;

    // Entry helpers.
    void ShowLeadingZero();
    void StoreDigit(int a);
    void BumpExponent(bool capped);
    // Arithmetic helpers.
    void StoreResult(TCalcRegister& r, long double value, bool showDigits);
    bool ExtMemReady() const;
    int ReleaseWindows(int a);
    // Executor helpers.
    void DoAction(TKeyPos k);
    void DigitAction(int v);
    void LetterKey(int v);
    void RegisterKey(int n);
    void AddressKey(int v);
    void GoToKey();
    void SubReturnKey();
    void Test(int which);
    void SetFlagKey();
    void StoreYKey();
    void FmtKey();
    bool PlotterKey(PlotterCommand command);
    // Shift Down or Shift Up: a plotter command after FMT, else the stack move.
    void ShiftKey(bool down);
    void EndKey();
    void ContKey();
    void PauseKey();
    void PrintKey();
    void PrintRegisters();
    void ShowExtResult(ExtResult result);
    void PushReturn();
    void PopReturn();
    void StepAt(int row, int step, TKeyCode& code) const;
};

} // namespace orrindale
