// TplotFM: the plotter window. It draws the body picture, the paper, the arm and pen holder,
// knobs, switches and lamps from plotart's table; forwards mouse, menu and engine calls to the
// PlotterModel; paces motions with its frame timer (a fixed number of plot units per frame,
// so a move takes the same time on any machine and no core spins); keeps "ptdt.ini" and
// "pvpt.dat"; opens, saves and prints plot files. Its link (panel/plotterlink.h) hands the model to
// the engine as its PlotterPort while this window exists.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "common/fileopen.h"
#include "common/services.h"
#include "common/sounds.h"
#include "common/statesave.h"
#include "plotter/plotfile.h"
#include "plotter/plotpaper.h"
#include "plotter/plottermodel.h"

class QMenu;
class QAction;
class QPainter;

namespace orrindale {

// The carriage sound ("Feed.wav"): silent without an audio output.
using CarriageSound = LoopingSound;

// A plot record drawn on a page of that many pixels at dpi, the sheet filling it: the grid
// dotted, the lines in their pens. The replay leaves the model's pen as the record names it.
void PaintPlotPage(QPainter& p, QSize page, double dpi, const std::vector<int32_t>& record,
                   PlotterModel& model);

class TplotFM : public QWidget, private PlotterView {
    Q_OBJECT

public:
    static constexpr int kFrameMs = 20; // the motion's pace: plotSpeed units a frame

    struct Context {
        std::function<bool()> PowerOn; // the calculator's power switch
        std::function<void()> RequestRelease;
        // The carriage sound; the desktop's (services.Audio) unless tests give their own.
        std::function<std::unique_ptr<CarriageSound>()> MakeFeed;
        // The carriage came to rest: keys typed by hand meanwhile may act now.
        std::function<void()> MotionEnded;
        // The calculator's frame on the desktop, to open beside it.
        std::function<QRect()> CalculatorFrame;
        // What the calculator and the other open windows cover on the screen, to open clear of.
        std::function<std::vector<QRegion>()> Taken = {};
    };

    TplotFM(const Services& services, Context context, QWidget* parent = nullptr);
    ~TplotFM() override;
    // Loads the body picture "HP9plig.dat" (and on screens that scale by two "HP9plig@2x.dat" to
    // draw); false when the first cannot be loaded, and the window is not to be shown.
    bool LoadPicture();

    PlotterModel& Model() { return model_; }
    const QImage& Paper() const { return paper_.Image(); }
    void CalcPowerChanged(bool on) { model_.CalcPowerChanged(on); }
    // The plotter's settings and the plot on its paper, kept for the next start: written when
    // the window or the calculator closes (statesave.h).
    std::vector<StateWrite> WritesAtClose();
    void SaveCurrentPlot();
    // The main window has closed, having saved what WritesAtClose gave: the window closes
    // without questions.
    void ShutDown() { shutDown_ = true; }

    // Menu commands.
    void OpenPlot();
    bool SavePlotAs();
    void PrintPlot();
    // The record as a picture, in a file the user chooses.
    void ExportPicture(PlotPictureKind kind);
    void ChooseSpeed();
    // Loads a plot file, its failure told over this window; fromDialog: the chosen file.
    bool LoadPlotFile(const QString& path, bool fromDialog);
    // A plot file from outside: as the chosen file, its failure told to the caller.
    OpenFailure OpenPlotFile(const QString& path);
    void ReplayPlot();
    // Where the lowered pen's tip touches, in window pixels.
    QPoint PenTip() const;
    // The hint and the cursor over a point of the window.
    QString HintAt(QPoint at) const;
    Qt::CursorShape CursorAt(QPoint at) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The plot kept from the last time, at the first show.
    void LoadCurrentPlot();
    // LoadPlotFile without the messages.
    OpenFailure ReadPlotFile(const QString& path, bool fromDialog);
    // PlotterView.
    void CarriageMoved() override;
    void LineDrawn(int x0, int y0, int x1, int y1) override;
    void DotDrawn(int px, int py) override;
    void PenShown(bool down) override;
    void StateChanged() override;
    void KnobTurned(int knob) override {
        knobs_[static_cast<size_t>(knob)] = 0;
        update();
    }
    void PlaySound(const char* name) override { services_.doPlaySound(name); }
    void MotionStarted() override;
    void FeedSound(bool play) override;
    void PaperCleared() override;
    void CloseReady() override { closeTimer_.start(); }
    void MemoryFailed() override;

    void FirstShow();
    // Where the user left it, while that is on a screen; else beside the calculator.
    void Place(const PlotSettings& settings);
    void BuildMenu();
    void UpdateMenus();
    void MotionTick();
    bool CloseQuery();
    QRect ArmRect() const;
    QRect HolderRect() const;
    QPoint PaperPoint() const;
    int KnobAt(QPoint at) const;

    Services services_;
    Context context_;
    PlotterModel model_;
    // The scale the pictures and the paper are drawn at (2 on screens that scale by two).
    const int scale_;
    PlotPaper paper_;
    QImage body_, lever_, powerLamp_, errorLamp_;
    std::array<QImage, 2> arms_, holders_; // [pen down]
    std::array<int, 5> knobs_{};           // 0: the knob picture must be redrawn
    std::array<QImage, 5> knobPictures_, handlePictures_;
    bool shownDown_ = false;
    bool firstShown_ = false, shutDown_ = false;
    bool closeAnswered_ = false; // a close stopped a motion and was answered; the timer closes
    QTimer motionTimer_{this}, closeTimer_{this};
    QElapsedTimer clock_;
    qint64 framesDone_ = 0;
    std::unique_ptr<CarriageSound> feed_;
    bool feedReady_ = false;
    QMenu* menu_ = nullptr;
    std::array<QAction*, 5> fileActions_{}; // New, Open, Save, Pen Color, Grid
    std::array<QAction*, 4> penItems_{};    // by pen index
    std::array<QAction*, 3> gridItems_{};
    enum class Drag { None, Arm, Holder, Knob, Window, PenButton };
    Drag drag_ = Drag::None;
    int dragKnob_ = 0;
    QPoint dragFrom_;
    int dragStart_ = 0;
};

} // namespace orrindale
