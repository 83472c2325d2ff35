// The engine's one door to the outside world.
//
// The calculator engine (class Calculator) owns the machine state and runs keys and
// programs; everything it needs from the windows around it goes through this interface. The
// main window implements it; tests and the keyrun tool use small hosts of their own. All calls
// come from the one user interface thread, usually from inside Calculator::ExecuteKey or
// Calculator::RunSteps, and must not call back into the engine except where a comment says so.
#pragma once

#include <string>

#include "engine/ports.h"

namespace orrindale {

class EngineHost {
public:
    virtual ~EngineHost() = default;

    // --- Display -------------------------------------------------------------------------
    // The display or the error lamp changed. The host draws Calculator::DisplayLines() (and
    // clears FunctionResult through TakeDisplayLines) when Calculator::DisplayShowsLines() is
    // true, else a blank display. With BusyTicks above 0 it first shows the display blank for
    // that many milliseconds and sets BusyTicks to 0; it may do so without blocking, provided
    // it takes no keys meanwhile. May call TakeDisplayLines and set BusyTicks.
    virtual void RedrawDisplay() = 0;

    // --- Printer -------------------------------------------------------------------------
    // The printer's ON button and the X, Y, Z print buttons (which: 0 = X, 1 = Y, 2 = Z).
    virtual bool PrinterOn() const = 0;
    virtual bool PrintSwitch(int which) const = 0;
    // The paper feed timer takes lines from Calculator::PrintQueue, one each 250 ms.
    virtual void StartPaperFeed() = 0;
    virtual void StopPaperFeed() = 0;
    virtual bool PaperFeeding() const = 0;
    // End a program listing in progress (Calculator::ListingMode is then 0).
    virtual void EndListing() {}

    // --- Plotter and extended memory (ports.h) -------------------------------------------
    // The peripheral while its window exists, else null. Neither call pumps messages.
    virtual PlotterPort* Plotter() { return nullptr; }
    virtual ExtMemoryPort* ExtMemory() { return nullptr; }

    // --- Run loop and timers ----------------------------------------------------------------
    // ChgModeTimer: 25 ms, calls Calculator::ChgModeTimerTimer when it fires.
    virtual void StartChgModeTimer() = 0;
    virtual void StopChgModeTimer() = 0;
    // The run loop's pacing: a blocking sleep and a pass through pending user interface
    // messages. Message handlers may only press STOP or set PendingAction bits.
    virtual void Sleep(int milliseconds) = 0;
    virtual void ProcessMessages() = 0;
    // Whether the key at this keyboard position is held down right now (KeyDown and LastKey).
    virtual bool KeyHeld(int /*position*/) const { return false; }

    // --- Power, windows, errors -------------------------------------------------------------
    // The power switch was set (changed: it moved, so the switch sound plays). The host moves
    // the switch picture, stops card timers and tells the plotter.
    virtual void PowerSwitched(bool /*on*/, bool /*changed*/) {}
    // PendingAction asked to close the main window (a program was running at a close request).
    virtual void CloseMainWindow() {}
    // PendingAction asked to release a peripheral window (the bit names which).
    virtual void ReleaseWindow(int /*bit*/) {}
    // An internal data problem: show the message in a modal box. The engine then switches off.
    virtual void ShowInternalError(const std::string& message) = 0;
};

} // namespace orrindale
