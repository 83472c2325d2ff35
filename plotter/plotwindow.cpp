#include "plotter/plotwindow.h"

#include <QActionGroup>
#include <QBitmap>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "common/audio.h"
#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"
#include "common/programfiles.h"
#include "plotter/plotart.h"
#include "plotter/tuner.h"

namespace orrindale {

namespace {
constexpr int kCloseDelayMs = 50;
// Frames a late timer may catch up at once, so a stalled machine does not jump the pen.
constexpr int kMaxCatchUpFrames = 8;
} // namespace

TplotFM::TplotFM(const Services& services, Context context, QWidget* parent)
    : QWidget(parent), services_(services), context_(std::move(context)),
      scale_(PictureScale(devicePixelRatioF())), paper_(scale_) {
    EscapeCloser::Install(this);
    setWindowTitle("Plotter");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // hints and cursors follow the pointer
    model_.SetView(this);
    motionTimer_.setObjectName("motionTimer");
    motionTimer_.setInterval(kFrameMs);
    motionTimer_.setTimerType(Qt::PreciseTimer);
    connect(&motionTimer_, &QTimer::timeout, this, &TplotFM::MotionTick);
    closeTimer_.setObjectName("closeTimer");
    closeTimer_.setInterval(kCloseDelayMs);
    connect(&closeTimer_, &QTimer::timeout, this, [this] {
        closeTimer_.stop();
        model_.closePending = false;
        close();
    });
    BuildMenu();
}

bool TplotFM::LoadPicture() {
    QImage body;
    if (!LoadScrambledPng(services_.ProgramFile(files::kPlotterPicture), body)) return false;
    body = body.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    setFixedSize(body.size());
    // The sky-blue parts let the desktop show through.
    setMask(QRegion(
        QBitmap::fromImage(body.createMaskFromColor(plotart::kSkyBlue.rgb(), Qt::MaskInColor))));
    const QImage sharp =
        LoadSharpPicture(services_.ProgramFile(files::kPlotterPicture2x), body.size(), scale_);
    body_ = sharp.isNull() ? body : sharp;
    for (int down = 0; down < 2; ++down)
        arms_[static_cast<size_t>(down)] = plotart::Arm(down != 0, scale_);
    lever_ = plotart::Lever(scale_);
    powerLamp_ = plotart::Lamp(false, scale_);
    errorLamp_ = plotart::Lamp(true, scale_);
    return true;
}

TplotFM::~TplotFM() = default;

void TplotFM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!firstShown_) FirstShow();
}

void TplotFM::FirstShow() {
    firstShown_ = true;
    if (context_.MakeFeed)
        feed_ = context_.MakeFeed();
    else if (services_.Audio)
        feed_ = services_.Audio->NewLoop();
    feedReady_ = feed_ && feed_->Open(services_.ProgramFile(files::kFeedSound));
    const Services& services = services_;
    PlotSettings settings;
    QStringList lines;
    if (LoadScrambledTextList(services.StateFile(files::kPlotterSettings), lines,
                              kSettingsListLimits))
        ParsePlotSettings(ToTextList(lines), settings);
    else
        services.StateLoadFailed(files::kPlotterSettings);
    Place(settings);
    ApplySettings(settings, model_);
    model_.ApplyKnobsAndPen();
    model_.NewPlot();
    // One box over this window for all that went wrong.
    const Messenger::AskedFrom asked(services.Messages, this);
    LoadCurrentPlot();
    services.TellStateNotice();
    model_.CalcPowerChanged(context_.PowerOn && context_.PowerOn());
    PenShown(false);
}

void TplotFM::Place(const PlotSettings& settings) {
    // Where it was left, else beside the calculator; moved only off what it would cover.
    const QPoint saved(settings.left, settings.top);
    const QScreen* savedOn = settings.placed ? QGuiApplication::screenAt(saved) : nullptr;
    const QScreen* screen = savedOn ? savedOn : this->screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    const QRect calculator = context_.CalculatorFrame ? context_.CalculatorFrame() : QRect();
    const QPoint first = savedOn ? saved : PlaceBeside(calculator, size(), free);
    move(context_.Taken ? PlaceClear(first, size(), context_.Taken(), free) : first);
}

void TplotFM::BuildMenu() {
    menu_ = new QMenu(this);
    fileActions_[0] = menu_->addAction("New", this, [this] { model_.NewPlot(); });
    fileActions_[1] = menu_->addAction("Open", this, &TplotFM::OpenPlot);
    fileActions_[2] = menu_->addAction("Save", this, [this] { SavePlotAs(); });
    menu_->addAction("Print", this, &TplotFM::PrintPlot);
    menu_->addSeparator();
    QMenu* pens = menu_->addMenu("Pen Color");
    const std::pair<const char*, int> colours[] = {
        {"Black", 3}, {"Red", 0}, {"Blue", 2}, {"Green", 1}};
    for (const auto& [name, index] : colours)
        penItems_[static_cast<size_t>(index)] = pens->addAction(name, this, [this, i = index] {
            model_.ChoosePen(i);
            PenShown(shownDown_);
        });
    QMenu* grids = menu_->addMenu("Grid");
    const char* gridNames[] = {"None", "0.5 Inch", "1 inch"};
    for (int g = 0; g < 3; ++g)
        gridItems_[static_cast<size_t>(g)] =
            grids->addAction(gridNames[g], this, [this, g] { model_.ChooseGrid(g); });
    // Each submenu marks its current choice.
    for (QMenu* choices : {pens, grids}) {
        auto* group = new QActionGroup(choices);
        for (QAction* action : choices->actions()) {
            action->setCheckable(true);
            group->addAction(action);
        }
    }
    fileActions_[3] = pens->menuAction();
    fileActions_[4] = grids->menuAction();
    menu_->addAction("Plotter Speed", this, &TplotFM::ChooseSpeed);
    menu_->addAction("Centre Controls", this, [this] { model_.CentreControls(); });
    menu_->addSeparator();
    // Below the items above, whose places the keyboard walks by in scripts of the menu. Each
    // picture its own item: a file dialog's type list renames the file as it is changed, so
    // "twice the size" could not be read from the name chosen there.
    QMenu* pictures = menu_->addMenu("Export Picture");
    const std::pair<const char*, PlotPictureKind> kinds[] = {
        {"SVG…", PlotPictureKind::Svg},
        {"PNG…", PlotPictureKind::Png},
        {"PNG at Twice the Size…", PlotPictureKind::Png2x}};
    for (const auto& [name, kind] : kinds)
        pictures->addAction(name, this, [this, k = kind] { ExportPicture(k); });
    menu_->addSeparator();
    menu_->addAction("Help", this, [this] { services_.OpenDocument(files::kPlotterHelpDocument); });
    menu_->addAction("Close  (Esc)", this, &QWidget::close);
}

void TplotFM::UpdateMenus() {
    for (QAction* action : fileActions_)
        if (action) action->setEnabled(model_.FileMenusEnabled());
    const auto mark = [](auto& items, int current) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i]) items[i]->setChecked(static_cast<int>(i) == current);
    };
    mark(penItems_, model_.penIndex);
    mark(gridItems_, model_.gridIndex);
}

void TplotFM::ChooseSpeed() {
    TtunerFM tuner(this);
    tuner.SetTuner(model_.plotSpeed);
    if (tuner.exec() == QDialog::Accepted) model_.plotSpeed = tuner.GetTuner();
}

// ---- Motion ------------------------------------------------------------------------------------

void TplotFM::MotionStarted() {
    if (motionTimer_.isActive()) return;
    clock_.start();
    framesDone_ = 0;
    motionTimer_.start();
}

void TplotFM::MotionTick() {
    // The frames due by the clock, not the timeouts counted: a slow repaint does not slow the
    // pen down.
    const qint64 due = clock_.isValid() ? clock_.elapsed() / kFrameMs + 1 : framesDone_ + 1;
    const int frames =
        static_cast<int>(std::clamp<qint64>(due - framesDone_, 1, kMaxCatchUpFrames));
    framesDone_ = std::max(due, framesDone_ + 1);
    const int speed = std::clamp(model_.plotSpeed, 1, plot::kMaxX);
    if (model_.Tick(frames * speed)) return;
    motionTimer_.stop();
    // Last: what the callback does may start the next motion.
    if (context_.MotionEnded) context_.MotionEnded();
}

void TplotFM::FeedSound(bool play) {
    if (!feedReady_) return;
    if (!play)
        feed_->Stop();
    else if (services_.Sounds && services_.Sounds->On())
        feed_->Play();
}

// ---- Drawing -----------------------------------------------------------------------------------

QRect TplotFM::ArmRect() const {
    return {plot::PaperX(model_.penX) + plotart::kArmOffset, plotart::kArmTop, plotart::kArmWidth,
            plotart::kArmHeight};
}

QRect TplotFM::HolderRect() const {
    const QPoint onPaper = plotart::kPaper.topLeft() + PaperPoint() - plotart::kPenTip;
    return {onPaper, QSize(plotart::kHolderWidth, plotart::kHolderHeight)};
}

QPoint TplotFM::PaperPoint() const {
    return {plot::PaperX(model_.penX), plot::PaperY(model_.penY)};
}

QPoint TplotFM::PenTip() const {
    return HolderRect().topLeft() + plotart::kPenTip;
}

void TplotFM::CarriageMoved() {
    update(QRect(0, 0, width(), plotart::kPaper.bottom() + plotart::kHolderHeight + 10));
}

void TplotFM::LineDrawn(int x0, int y0, int x1, int y1) {
    paper_.Line(model_.penIndex, x0, y0, x1, y1);
}

void TplotFM::DotDrawn(int x, int y) {
    paper_.Dot(model_.penIndex, x, y);
    update();
}

void TplotFM::PenShown(bool down) {
    shownDown_ = down;
    for (int d = 0; d < 2; ++d)
        holders_[static_cast<size_t>(d)] = plotart::Holder(d != 0, model_.penIndex, scale_);
    update();
}

void TplotFM::StateChanged() {
    UpdateMenus();
    update();
}

void TplotFM::PaperCleared() {
    paper_.Clear();
    paper_.Grid(model_.gridIndex);
    PenShown(shownDown_);
}

void TplotFM::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(0, 0, body_);
    p.drawImage(plotart::kPaper.topLeft(), paper_.Image());
    p.drawImage(ArmRect().topLeft(), arms_[shownDown_ ? 1 : 0]);
    p.drawImage(HolderRect().topLeft(), holders_[shownDown_ ? 1 : 0]);
    if (model_.paperHeld) p.drawImage(plotart::kHoldLever.topLeft(), lever_);
    if (model_.modeOn) p.drawImage(plotart::kOnLever.topLeft(), lever_);
    if (model_.powerLamp) p.drawImage(plotart::kPowerLamp.topLeft(), powerLamp_);
    if (model_.errorLamp) p.drawImage(plotart::kErrorLamp.topLeft(), errorLamp_);
    for (size_t k = 1; k <= 4; ++k) {
        if (knobs_[k] == 0 || knobPictures_[k].isNull()) {
            knobPictures_[k] = plotart::Knob(model_.knobValue[k], scale_);
            handlePictures_[k] = plotart::Handle(model_.knobValue[k], scale_);
            knobs_[k] = 1;
        }
        p.drawImage(plotart::kKnobPanels[k - 1].topLeft(), knobPictures_[k]);
        p.drawImage(plotart::TurnHandle(static_cast<int>(k)).topLeft(), handlePictures_[k]);
    }
}

void TplotFM::MemoryFailed() {
    const Messenger::AskedFrom asked(services_.Messages, this);
    services_.Messages->Error(
        "ERROR: Memory failed to save plotter data\r\rAll previous lines discarded");
}

// ---- Closing -----------------------------------------------------------------------------------

bool TplotFM::CloseQuery() {
    // The deferred close of a stop during a motion: the user has answered already.
    if (std::exchange(closeAnswered_, false))
        return SaveStateFiles(services_, WritesAtClose()) != SaveOutcome::Cancelled;
    const Messenger::AskedFrom asked(services_.Messages, this);
    const bool stopping = model_.moving;
    if (stopping) model_.StopForClose();
    bool allow = true;
    if (model_.plotChanged) {
        const MessageAnswer a = services_.Messages->Confirm("Plot has changed\r\rSave changes?",
                                                            MessageButtons::YesNoCancel);
        if (a == MessageAnswer::Cancel) allow = false;
        if (a == MessageAnswer::Yes) allow = SavePlotAs();
    }
    // Whatever the answer, the plot on the paper is kept for the next start; a close that goes
    // ahead also keeps the settings, and may not go ahead until both are written or the user
    // chose to do without them.
    if (!allow || stopping) {
        SaveCurrentPlot();
        // A stopped motion closes a moment later, on the close timer, armed only now so that
        // it cannot fire while the question is open.
        model_.closePending = allow;
        closeAnswered_ = allow;
        if (allow) closeTimer_.start();
        return false;
    }
    return SaveStateFiles(services_, WritesAtClose()) != SaveOutcome::Cancelled;
}

void TplotFM::closeEvent(QCloseEvent* event) {
    if (!shutDown_ && !CloseQuery()) {
        event->ignore();
        return;
    }
    motionTimer_.stop();
    closeTimer_.stop(); // a second Escape may have closed ahead of the deferred close
    closeAnswered_ = false;
    event->accept();
    if (!shutDown_ && context_.RequestRelease) context_.RequestRelease();
}

void TplotFM::contextMenuEvent(QContextMenuEvent* event) {
    UpdateMenus();
    menu_->popup(event->globalPos());
}

} // namespace orrindale
