// The X-Y plotter: its model, its files and its window.
//
// How the pieces fit:
// - PlotterModel (this header) is the plotter itself as plain code: pen position, knobs,
//   switches, lamps, the motion of the carriage and the plot record. It answers the engine
//   through PlotterPort (engine/ports.h). It owns no timer: a motion is started by a command and
//   advanced by Tick(steps), which the window calls from its frame timer (and keyrun calls with
//   a step count large enough to finish at once). While a motion runs, move commands answer
//   busy and a running program waits for the plotter through the run loop's wait bit.
// - PlotterView is what the model tells its window: the carriage moved, a line or dot was
//   drawn, the pen, lamps, switches or a knob changed, a sound should play.
// - plotfile.h reads and writes the plot record ("pvpt.dat", *.ptf) and the settings
//   ("ptdt.ini") and decodes a record for replay; those readers take lines, so they are fuzzed.
// - plotwindow.h (TplotFM) draws the plotter and the paper, owns the frame timer, the menu, the
//   speed dialog (tuner.h, TtunerFM) and printing (plotprint.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ports.h"

namespace orrindale {

namespace plot {
inline constexpr int kMaxX = 7500; // plot units, 500 an inch
inline constexpr int kMaxY = 5000;
inline constexpr int kPaperWidth = 660; // paper pixels, 44 an inch
inline constexpr int kPaperHeight = 440;
// Record entries besides points.
inline constexpr int32_t kPenDown = -31;
inline constexpr int32_t kPenUp = -16;
inline constexpr int32_t kGridBase = -32;   // - (32 + grid)
inline constexpr int32_t kColourBase = -64; // - (64 + pen)
inline constexpr int32_t kDot = -128;
inline constexpr int kDefaultSpeed = 50;
// A move longer than this (|dx| + |dy|) plays the carriage sound.
inline constexpr int kFeedSoundDistance = 300;

inline int PaperX(int x) {
    return static_cast<int>(static_cast<int64_t>(x) * kPaperWidth / kMaxX);
}
inline int PaperY(int y) {
    return kPaperHeight - static_cast<int>(static_cast<int64_t>(y) * kPaperHeight / kMaxY);
}
// The pens' inks as 0xRRGGBB, by pen index: red, green, blue, black.
inline uint32_t PenRgb(int pen) {
    switch (pen) {
    case 0: return 0xff0000;
    case 1: return 0x008000;
    case 2: return 0x0000ff;
    default: return 0x000000;
    }
}
inline int32_t PointEntry(int x, int y) {
    return static_cast<int32_t>(x * 65536 + y);
}
} // namespace plot

class PlotterView {
public:
    virtual ~PlotterView() = default;
    // penX/penY changed: place the arm and the pen holder.
    virtual void CarriageMoved() {}
    // A line in the current pen colour between two pen positions in plot units, the first where
    // the last line ended: drawn whenever the pen comes to another paper pixel, while the
    // positions stay exact for a paper drawn finer than 44 pixels an inch.
    virtual void LineDrawn(int /*x0*/, int /*y0*/, int /*x1*/, int /*y1*/) {}
    // A dot at a pen position in plot units.
    virtual void DotDrawn(int /*x*/, int /*y*/) {}
    // Show the pen-down or pen-up pictures (the shown state may differ from penDown: STANDBY
    // and power off show the pen up without lifting it).
    virtual void PenShown(bool /*down*/) {}
    // Lamps, switches or the power changed: pictures and menu enabling.
    virtual void StateChanged() {}
    virtual void KnobTurned(int /*knob*/) {}
    virtual void PlaySound(const char* /*name*/) {}
    // A motion began: the window starts pacing it with Tick.
    virtual void MotionStarted() {}
    // Start the carriage sound, or stop and rewind it.
    virtual void FeedSound(bool /*play*/) {}
    // A new plot: clear the paper, draw the grid, set the pen colour.
    virtual void PaperCleared() {}
    // A motion ended while a close was pending: arm the deferred close.
    virtual void CloseReady() {}
    // The record could not grow; it has been emptied.
    virtual void MemoryFailed() {}
};

class PlotterModel : public PlotterPort {
public:
    explicit PlotterModel(PlotterView* view = nullptr);
    void SetView(PlotterView* view) { view_ = view ? view : &noView_; }

    // PlotterPort. Command takes wheel and coordinates as the engine passes them.
    PlotterReply Command(PlotterCommand command, int wheel, int x, int y) override;
    PlotterStatus State() const override;

    // The full command with the two error flags (always false from the engine).
    PlotterReply PlotterCommand(int mode, int wheel, int x, int y, bool flag1, bool flag2);
    void CalcPowerChanged(bool on);

    // Advances a running motion by up to steps plot units along the longer axis; false when
    // no motion runs afterwards. A motion ends early when STANDBY or power off is seen.
    bool Tick(int steps);
    // Runs the motion to its end (keyrun, tests).
    void Finish();
    // A close asked for during a motion: the motion stops where it is with the pen lifted,
    // commands are refused and the close waits for the window's close timer.
    void StopForClose();

    void PenUp();
    void PenDown();
    // The pen button: a dot at the current point (STANDBY, power on, pen up only); false when
    // the button does nothing.
    bool PenDot();
    void HomePen();
    void SetMode(bool on, bool withSound);
    void SetPaperHold(bool hold, bool withSound);
    void SetKnob(int knob, int value);
    void CentreControls();
    void NewPlot();
    void AddPlotEntry(int32_t value);
    // Colour and grid from the menu (each recorded, even when unchanged).
    void ChoosePen(int index);
    void ChooseGrid(int index);
    // Manual positioning while in STANDBY or powered off: the pen's place across and down the
    // paper in paper pixels (clamped to the sheet's edges).
    bool CanPositionByHand() const { return !modeOn || !powerLamp; }
    void DragArmTo(int x);
    void DragHolderTo(int y);
    // Knob drag by the mouse: button down at mouse y, move, button up.
    void KnobPress(int knob, int mouseY, bool leftButton);
    void KnobMove(int knob, int mouseY);
    void KnobRelease(int knob);
    // Settings read at the first show: zero, gains, pen clamped, targets set.
    void ApplyKnobsAndPen();
    // The menu items "New", "Open", "Save", "Pen Color" and "Grid".
    bool FileMenusEnabled() const { return !modeOn || !powerLamp; }

    // State, named as the window's form knows it.
    int penX = 0, penY = 0, targetX = 0, targetY = 0, zeroX = 0, zeroY = 0;
    double gainX = 0, gainY = 0;
    std::array<int, 5> knobValue{}, knobBase{}; // [1..4]
    std::array<int, 5> knobDragY{-1, -1, -1, -1, -1};
    double carriageX = 0, carriageY = 0, stepX = 0, stepY = 0;
    bool moving = false, closePending = false, penDown = false, modeOn = false;
    bool paperHeld = false, powerLamp = false, errorLamp = false;
    int penIndex = 0, gridIndex = 0, plotSpeed = plot::kDefaultSpeed;
    std::vector<int32_t> plotRecord;
    bool plotChanged = false;
    std::string plotFileName;
    // Where the sheet on the screen starts in the record: a grid chosen from the menu wipes the
    // screen, while the entries before it stay in the record for a reopened plot and the print.
    std::size_t sheetStart = 0;

    // A record was put in place of the old one (loaded from a file).
    void RecordReplaced();
    // After an Open: the pen up, at the record's last point, and the record saying so.
    void PenToRecordEnd();

    // Where the last line on the paper ended (plot units).
    int drawX = 0, drawY = 0;

private:
    // What a commanded move does when its motion ends.
    enum class Then { Nothing, RecordEnd, RecordEndPenDown };
    void StartMotion(bool sound, Then then);
    void RunMotion(bool sound);
    bool Step();
    void EndMotion();
    void AppendPoint();
    void MarkPlace();
    // STANDBY or power off: a motion stops where it is and the pen goes up.
    void Halt();
    void MovePen(Then then);
    void FollowKnob(bool xAxis);

    PlotterView noView_;
    PlotterView* view_;
    Then then_ = Then::Nothing;
    bool recordPen_ = false; // the pen state the record last names
    int32_t lastPoint_ = -1; // the record's last point, -1 for none
};

} // namespace orrindale
