#include "plotter/plottermodel.h"

#include "plotter/plotfile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

namespace orrindale {

namespace {
constexpr int kKnobCentre = 125;
constexpr int kKnobMax = 250;
constexpr double kGainPerDegree = 0.00016;

double Gain(int knob) {
    return (knob - kKnobCentre) * kGainPerDegree;
}
double Sign(int v) {
    return v < 0 ? -1.0 : 1.0;
}
} // namespace

PlotterModel::PlotterModel(PlotterView* view) : view_(view ? view : &noView_) {}

PlotterReply PlotterModel::Command(orrindale::PlotterCommand command, int wheel, int x, int y) {
    return static_cast<PlotterReply>(
        PlotterCommand(static_cast<int>(command), wheel, x, y, false, false));
}

PlotterStatus PlotterModel::State() const {
    if (!modeOn) return PlotterStatus::Off;
    return moving ? PlotterStatus::Busy : PlotterStatus::Ready;
}

PlotterReply PlotterModel::PlotterCommand(int mode, int wheel, int x, int y, bool flag1,
                                          bool flag2) {
    if (closePending || !modeOn) return PlotterReply::Refused;
    if (mode == 1) {
        // STOP: a move in progress is cut short where the pen stands, and no pen goes down
        // after it.
        if (moving && then_ != Then::Nothing) AppendPoint();
        then_ = Then::Nothing;
        PenUp();
        targetX = zeroX;
        targetY = zeroY;
        StartMotion(true, Then::Nothing);
        return PlotterReply::Taken;
    }
    if (moving) return PlotterReply::Busy;
    const bool error = wheel > 6 || std::abs(x) > 100000 || std::abs(y) > 100000 || flag1 || flag2;
    if (error && !errorLamp) {
        errorLamp = true;
        view_->StateChanged();
        PenUp();
        return PlotterReply::Taken;
    }
    if (!error && errorLamp) {
        errorLamp = false;
        view_->StateChanged();
    }
    const auto trimmed = [](int zero, int v, double gain) {
        return static_cast<long long>(zero) + v + static_cast<long long>(std::abs(v) * gain);
    };
    targetX = static_cast<int>(std::clamp<long long>(trimmed(zeroX, x, gainX), 0, plot::kMaxX));
    targetY = static_cast<int>(std::clamp<long long>(trimmed(zeroY, y, gainY), 0, plot::kMaxY));
    if (mode == 3) {
        PenUp();
        MovePen(Then::RecordEnd);
    } else {
        MovePen(Then::RecordEndPenDown);
    }
    return PlotterReply::Taken;
}

void PlotterModel::CalcPowerChanged(bool on) {
    powerLamp = on;
    if (on)
        HomePen();
    else
        Halt();
    view_->StateChanged();
}

void PlotterModel::Halt() {
    if (moving) {
        // Cut short where the pen stands; the pen a move would lower afterwards stays up.
        if (then_ == Then::RecordEndPenDown) then_ = Then::RecordEnd;
        EndMotion();
    }
    view_->FeedSound(false);
    PenUp();
}

void PlotterModel::MovePen(Then then) {
    if (targetX == penX && targetY == penY) {
        if (then == Then::RecordEndPenDown) PenDown();
        return;
    }
    AppendPoint();
    StartMotion(true, then);
}

void PlotterModel::MarkPlace() {
    // The pen came here by a move the record does not name (home, knob, by hand): the record
    // first takes it here with the pen up, so a replay puts the next line or dot where it was
    // drawn.
    const int32_t point = plot::PointEntry(penX, penY);
    if (lastPoint_ == point) return;
    if (recordPen_) AddPlotEntry(plot::kPenUp);
    AddPlotEntry(point);
}

void PlotterModel::AppendPoint() {
    // A new plot's record opens with a pen-down entry whatever the pen does; without this a
    // replay would draw the first move of a pen that was up.
    if (recordPen_ != penDown) AddPlotEntry(penDown ? plot::kPenDown : plot::kPenUp);
    const int32_t point = plot::PointEntry(penX, penY);
    if (plotRecord.empty() || plotRecord.back() != point) AddPlotEntry(point);
}

void PlotterModel::StartMotion(bool sound, Then then) {
    carriageX = penX;
    carriageY = penY;
    const int dx = targetX - penX, dy = targetY - penY;
    then_ = then;
    if (dx == 0 && dy == 0) {
        moving = true; // ends at once with its follow-up
        EndMotion();
        return;
    }
    if (dx == 0) {
        stepX = 0;
        stepY = Sign(dy);
    } else if (dy == 0) {
        stepY = 0;
        stepX = Sign(dx);
    } else if (std::abs(dy) < std::abs(dx)) {
        stepX = Sign(dx);
        stepY = static_cast<double>(dy) / std::abs(dx);
    } else {
        stepY = Sign(dy);
        stepX = static_cast<double>(dx) / std::abs(dy);
    }
    drawX = penX;
    drawY = penY;
    RunMotion(sound);
}

void PlotterModel::RunMotion(bool sound) {
    // A pen that is down draws on every move, commanded or not, and the record must hold it.
    if (penDown) AppendPoint();
    moving = true;
    view_->MotionStarted();
    if (sound && std::abs(penX - targetX) + std::abs(penY - targetY) > plot::kFeedSoundDistance)
        view_->FeedSound(true);
}

bool PlotterModel::Step() {
    if (penX != targetX) {
        carriageX += stepX;
        penX = std::clamp(static_cast<int>(carriageX), 0, plot::kMaxX);
        if ((stepX >= 0 && penX > targetX) || (stepX < 0 && penX < targetX)) penX = targetX;
    }
    if (penY != targetY) {
        carriageY += stepY;
        penY = std::clamp(static_cast<int>(carriageY), 0, plot::kMaxY);
        if ((stepY >= 0 && penY > targetY) || (stepY < 0 && penY < targetY)) penY = targetY;
    }
    if (penDown &&
        (plot::PaperX(penX) != plot::PaperX(drawX) || plot::PaperY(penY) != plot::PaperY(drawY))) {
        view_->LineDrawn(drawX, drawY, penX, penY);
        drawX = penX;
        drawY = penY;
    }
    return penX == targetX && penY == targetY;
}

bool PlotterModel::Tick(int steps) {
    if (!moving) return false;
    if (!modeOn || !powerLamp) {
        Halt(); // cut short: the pen stays where it is
        return false;
    }
    bool arrived = false;
    for (int i = 0; i < steps && !arrived; ++i)
        arrived = Step();
    view_->CarriageMoved();
    if (arrived) EndMotion();
    return moving;
}

void PlotterModel::Finish() {
    // Every motion is shorter than the sheet's diagonal in steps along its longer axis.
    while (Tick(plot::kMaxX + plot::kMaxY)) {
    }
}

void PlotterModel::EndMotion() {
    moving = false;
    view_->FeedSound(false);
    const Then then = std::exchange(then_, Then::Nothing);
    if (then != Then::Nothing || penDown) AppendPoint();
    if (then == Then::RecordEndPenDown) PenDown();
    if (closePending) view_->CloseReady();
}

void PlotterModel::StopForClose() {
    if (!moving) return;
    // As STANDBY stops it: where the pen stands, lifted, and the lift recorded, so neither the
    // sheet nor the saved plot is left with a pen down in the middle of a line.
    Halt();
    closePending = true;
}

void PlotterModel::PenUp() {
    if (!penDown) return;
    penDown = false;
    view_->PenShown(false);
    AddPlotEntry(plot::kPenUp);
    view_->PlaySound("ppu");
}

void PlotterModel::PenDown() {
    if (penDown || errorLamp) return;
    // Before the record's first point a replay draws nothing, so there is no place to mark.
    if (lastPoint_ >= 0) MarkPlace();
    penDown = true;
    view_->PenShown(true);
    AddPlotEntry(plot::kPenDown);
    view_->PlaySound("ppd");
}

bool PlotterModel::PenDot() {
    if (modeOn || !powerLamp || penDown) return false;
    MarkPlace();
    view_->PenShown(true);
    view_->DotDrawn(penX, penY);
    AddPlotEntry(plot::kDot);
    view_->PlaySound("ppd");
    return true;
}

void PlotterModel::HomePen() {
    if (!powerLamp || !modeOn) return;
    targetX = zeroX;
    targetY = zeroY;
    StartMotion(true, Then::Nothing);
}

void PlotterModel::SetMode(bool on, bool withSound) {
    modeOn = on;
    if (on) {
        HomePen();
    } else {
        errorLamp = false;
        Halt();
    }
    if (withSound) view_->PlaySound("swc");
    view_->StateChanged();
}

void PlotterModel::SetPaperHold(bool hold, bool withSound) {
    paperHeld = hold;
    if (withSound) view_->PlaySound("swc");
    view_->StateChanged();
}

void PlotterModel::SetKnob(int knob, int value) {
    if (knob < 1 || knob > 4) return;
    knobValue[static_cast<size_t>(knob)] = value;
    switch (knob) {
    case 1: zeroX = value * 30; break;
    case 2: zeroY = value * 20; break;
    case 3: gainX = Gain(value); break;
    default: gainY = Gain(value); break;
    }
    view_->KnobTurned(knob);
    if (knob <= 2) FollowKnob(knob == 1);
}

void PlotterModel::FollowKnob(bool xAxis) {
    // The pen follows a moving zero only while it stands still; during a commanded move the
    // new zero applies from the next command on.
    if (!powerLamp || !modeOn || moving) return;
    int& pen = xAxis ? penX : penY;
    const int zero = xAxis ? zeroX : zeroY;
    if (zero == pen) return;
    targetX = xAxis ? zeroX : penX;
    targetY = xAxis ? penY : zeroY;
    carriageX = penX;
    carriageY = penY;
    stepX = xAxis ? (zeroX < penX ? -1.0 : 1.0) : 0.0;
    stepY = xAxis ? 0.0 : (zeroY < penY ? -1.0 : 1.0);
    drawX = penX;
    drawY = penY;
    then_ = Then::Nothing;
    RunMotion(false);
}

void PlotterModel::KnobPress(int knob, int mouseY, bool leftButton) {
    if (knob < 1 || knob > 4) return;
    knobDragY[static_cast<size_t>(knob)] = leftButton ? mouseY : -1;
}

void PlotterModel::KnobMove(int knob, int mouseY) {
    if (knob < 1 || knob > 4) return;
    const size_t k = static_cast<size_t>(knob);
    if (knobDragY[k] < 0) return;
    SetKnob(knob, std::clamp(knobBase[k] + (mouseY - knobDragY[k]), 0, kKnobMax));
}

void PlotterModel::KnobRelease(int knob) {
    if (knob < 1 || knob > 4) return;
    const size_t k = static_cast<size_t>(knob);
    knobDragY[k] = -1;
    knobBase[k] = knobValue[k];
}

void PlotterModel::CentreControls() {
    for (int k = 1; k <= 4; ++k) {
        knobValue[static_cast<size_t>(k)] = knobBase[static_cast<size_t>(k)] = kKnobCentre;
        view_->KnobTurned(k);
    }
    zeroX = kKnobCentre * 30;
    zeroY = kKnobCentre * 20;
    gainX = gainY = 0;
    HomePen();
}

void PlotterModel::ApplyKnobsAndPen() {
    zeroX = knobValue[1] * 30;
    zeroY = knobValue[2] * 20;
    penX = std::clamp(penX, 0, plot::kMaxX);
    penY = std::clamp(penY, 0, plot::kMaxY);
    targetX = penX;
    targetY = penY;
    gainX = Gain(knobValue[3]);
    gainY = Gain(knobValue[4]);
}

void PlotterModel::NewPlot() {
    plotRecord.clear();
    sheetStart = 0;
    lastPoint_ = -1;
    AddPlotEntry(plot::kPenDown);
    AddPlotEntry(plot::kGridBase - gridIndex);
    AddPlotEntry(plot::kColourBase - penIndex);
    plotFileName.clear();
    view_->PaperCleared();
    view_->CarriageMoved();
    plotChanged = false;
}

void PlotterModel::AddPlotEntry(int32_t value) {
    try {
        plotRecord.push_back(value);
        plotChanged = true;
        if (value >= 0) lastPoint_ = value;
        if (value == plot::kPenDown || value == plot::kPenUp) recordPen_ = value == plot::kPenDown;
    } catch (const std::bad_alloc&) {
        plotRecord.clear();
        plotRecord.shrink_to_fit();
        sheetStart = 0;
        plotChanged = false;
        lastPoint_ = -1;
        view_->MemoryFailed();
    }
}

void PlotterModel::RecordReplaced() {
    sheetStart = 0;
    recordPen_ = RecordPenDown(plotRecord);
    const auto point = std::find_if(plotRecord.rbegin(), plotRecord.rend(),
                                    [](int32_t entry) { return entry >= 0; });
    lastPoint_ = point == plotRecord.rend() ? -1 : *point;
}

void PlotterModel::PenToRecordEnd() {
    penDown = false;
    if (recordPen_) AddPlotEntry(plot::kPenUp);
    if (lastPoint_ >= 0) {
        penX = targetX = std::clamp(lastPoint_ / 65536, 0, plot::kMaxX);
        penY = targetY = std::clamp(lastPoint_ % 65536, 0, plot::kMaxY);
    }
    view_->PenShown(false);
    view_->CarriageMoved();
}

void PlotterModel::ChoosePen(int index) {
    penIndex = index;
    AddPlotEntry(plot::kColourBase - penIndex);
}

void PlotterModel::ChooseGrid(int index) {
    gridIndex = index;
    AddPlotEntry(plot::kGridBase - gridIndex);
    sheetStart = plotRecord.empty() ? 0 : plotRecord.size() - 1;
    view_->PaperCleared();
}

void PlotterModel::DragArmTo(int x) {
    penX = std::clamp(x, 0, plot::kPaperWidth) * plot::kMaxX / plot::kPaperWidth;
    targetX = zeroX + static_cast<int>(std::abs(zeroX - targetX) * gainX);
    view_->CarriageMoved();
}

void PlotterModel::DragHolderTo(int y) {
    penY = (plot::kPaperHeight - std::clamp(y, 0, plot::kPaperHeight)) * plot::kMaxY /
           plot::kPaperHeight;
    targetY = zeroY + static_cast<int>(std::abs(zeroY - targetY) * gainY);
    view_->CarriageMoved();
}

} // namespace orrindale
