// Program mode and the run loop. A program runs on the user interface thread inside the
// mode-change timer's handler; it sleeps and lets messages through every so many passes, and
// waits out computing time, pauses and the paper feed as counted passes.
#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/calculator.h"

namespace orrindale {

namespace {
constexpr TKeyCode kCodePause = 057;
constexpr int kReleaseBits =
    pending::ReleaseCardReader | pending::ReleasePlotter | pending::ReleaseExtMem;
constexpr int kPassesPerMessagePump = 34;
constexpr int kSleepMs = 30;
} // namespace

int Calculator::ComputeStepsPerSleep(int runSpeed) {
    const long double speed = runSpeed;
    const long double degrees = speed / 100.0L * 90.0L;
    const long double s = std::sin(degrees * 3.14159265358979323846L / 180.0L);
    // Past the sine's first hump (speeds from about 205) the formula gives few steps or
    // negative ones; at least one pass runs between two sleeps, and no speed overflows.
    const long double steps = std::trunc(s * speed) + 10.0L;
    return static_cast<int>(std::clamp(steps, 1.0L, static_cast<long double>(kMaxStepsPerSleep)));
}

void Calculator::RunSteps(bool single) {
    const int perSleep = std::clamp(StepsPerSleep, 1, kMaxStepsPerSleep);
    int sincePause = 0, sincePump = 0;
    for (;;) {
        if (++sincePause > perSleep) {
            host_.Sleep(kSleepMs);
            sincePause = 0;
        }
        if (++sincePump > kPassesPerMessagePump) {
            host_.ProcessMessages();
            sincePump = 0;
        }
        if (BusyTicks > 0 || PauseTicks > 0 || host_.PaperFeeding()) {
            // A waiting pass: computing time, a pause or the paper feed.
            if (BusyTicks > 0) --BusyTicks;
            if (PauseTicks > 0 && --PauseTicks == 0) {
                TKeyCode next = 0;
                StepAt(PcRow, PcStep, next);
                if (next != kCodePause) BlankDisplay(); // a PAUSE right after keeps it lit
            }
            continue;
        }
        // Switched off (keys are ignored then): stop before the counter moves on.
        if (!single && (PendingAction != 0 || !Running || !PowerOn)) break;
        if (!single && StepLimit != 0 && StepsExecuted >= StepLimit) break;
        ++StepsExecuted;
        TKeyCode code = 0;
        StepAt(PcRow, PcStep, code);
        ExecuteKey(KeyPosOf[static_cast<size_t>(code)]);
        if (std::exchange(PlotterRetry, false)) break; // run this step again when ready
        // A move this step began asked for a wait: the loop leaves before the next step.
        if (NoAdvance)
            NoAdvance = false;
        else
            AdvancePc(PcRow, PcStep);
        if (single) break;
    }
}

// Releases the peripheral windows named by the request bits; returns the other bits.
int Calculator::ReleaseWindows(int a) {
    for (int bit : {pending::ReleaseCardReader, pending::ReleasePlotter, pending::ReleaseExtMem})
        if (a & bit) host_.ReleaseWindow(bit);
    a &= ~kReleaseBits;
    // A release that interrupted a run lets the program go on.
    if (a == 0 && Running) a = pending::Run;
    return a;
}

void Calculator::ChgModeTimerTimer() {
    if (!(PendingAction & pending::WaitPlotter)) host_.StopChgModeTimer();
    int a = PendingAction;
    PendingAction = 0;
    while (a != 0) {
        if (a & kReleaseBits) {
            // Release requests never get lost among other bits.
            a = ReleaseWindows(a);
            continue;
        }
        if (a & pending::WaitPlotter) {
            PlotterPort* plotter = host_.Plotter();
            if (!plotter || plotter->State() == PlotterStatus::Off) {
                // The plotter went away or was switched off during the wait.
                Running = false;
                StopProgram();
                return;
            }
            if (plotter->State() == PlotterStatus::Busy) {
                PendingAction = pending::WaitPlotter;
                host_.StartChgModeTimer();
                return;
            }
            if (!Running) {
                RunSteps(false);
                return;
            }
            a = pending::Run;
        }
        if (a & pending::Close) {
            RunAtPowerOn = true;
            Running = false;
            host_.CloseMainWindow();
            return;
        }
        if (a & pending::PowerOn) PowerOnAction();
        if (a & pending::PowerOff) PowerOffAction();
        if ((a & pending::Run) && ProgramMode) {
            Running = false; // a run request never starts a program in PRGM mode
        } else if ((a & pending::Run) && PowerOn) {
            Running = true;
            RunSteps(false);
        }
        a = PendingAction;
        PendingAction = 0;
    }
}

void Calculator::RequestPower(bool on) {
    // A power request replaces a pending run or plotter wait (the program resumes from its
    // step at the next power-on); a close or window release stays pending.
    PendingAction = (PendingAction & (pending::Close | kReleaseBits)) |
                    (on ? pending::PowerOn : pending::PowerOff);
    if (on || !Running) host_.StartChgModeTimer();
}

void Calculator::PowerOnAction() {
    const bool changed = !PowerOn;
    PowerOn = true;
    host_.PowerSwitched(true, changed);
    PrintQueue.clear();
    ListingMode = 0; // a listing halted by switching off is forgotten, not ended
    BusyTicks = PauseTicks = 0;
    ErrorLit = ErrorAtPowerOn;
    ErrorAtPowerOn = false;
    RefreshDisplay();
    if ((Running || RunAtPowerOn) && !ProgramMode) {
        PendingAction |= pending::Run;
        host_.StartChgModeTimer();
    }
    RunAtPowerOn = false;
}

void Calculator::PowerOffAction() {
    const bool changed = PowerOn;
    PowerOn = false;
    host_.PowerSwitched(false, changed);
    PendingAction = 0;
    BlankDisplay();
    host_.StopPaperFeed();
    ErrorLit = false;
    if (ExtMemoryPort* ext = host_.ExtMemory()) ext->LampOff();
    host_.RedrawDisplay();
}

bool Calculator::SetProgramMode(bool prgm) {
    const bool live = PowerOn && ListingMode == 0;
    const bool moved = ProgramMode != prgm;
    ProgramMode = prgm;
    if (prgm) {
        Running = false;
        PendingAction &= ~pending::Run; // CONT just before: the program must not start
        if (live) ZSave = ZReg;
        if (PowerOn) host_.RedrawDisplay();
        return moved;
    }
    if (!live) return moved;
    ZReg = ZSave;
    ClearReg(XReg, true);
    NoAdvance = false;
    EndEntry();
    return moved;
}

} // namespace orrindale
