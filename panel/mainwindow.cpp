#include "panel/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <utility>

#include "panel/funccard.h"
#include "panel/layout.h"
#include "panel/machinestate.h"
#include "panel/pictures.h"
#include "panel/plist.h"
#include "panel/shared/hpdata_qt.h"
#include "panel/shared/messages.h"
#include "panel/shared/sounds.h"

namespace orrindale {

namespace {
constexpr int kChgModeInterval = 25;
constexpr int kDisplayTimerInterval = 100;
constexpr int kFeedInterval = 250;
const QRgb kSkyBlue = qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);
} // namespace

TmainFM::TmainFM(const PanelServices& services, QWidget* parent)
    : QWidget(parent), services_(services), calc_(*this), soundSwitch_(*services.Sounds) {
    setWindowTitle("HP9100B");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    calc_.RunSpeed = kDefaultRunSpeed;
    calc_.DecimalWheel = 2;
    calc_.ResetMachine();
    CreateTimers();
    BuildMenu();
}

TmainFM::~TmainFM() = default;

void TmainFM::CreateTimers() {
    chgModeTimer_.setInterval(kChgModeInterval);
    connect(&chgModeTimer_, &QTimer::timeout, this, [this] { calc_.ChgModeTimerTimer(); });
    brightTimer_.setInterval(kDisplayTimerInterval);
    connect(&brightTimer_, &QTimer::timeout, this, &TmainFM::BrightTimerTimer);
    dimTimer_.setInterval(kDisplayTimerInterval);
    connect(&dimTimer_, &QTimer::timeout, this, &TmainFM::DimTimerTimer);
    feedTimer_.setInterval(kFeedInterval);
    connect(&feedTimer_, &QTimer::timeout, this, &TmainFM::FeedTimerTimer);
    busyTimer_.setSingleShot(true);
    connect(&busyTimer_, &QTimer::timeout, this, &TmainFM::FinishBusyTime);
}

void TmainFM::BuildMenu() {
    popup_ = new QMenu(this);
    QMenu* card = popup_->addMenu("Magnetic Card");
    card->addAction("[]")->setEnabled(false);
    card->addSeparator();
    for (const char* entry : {"New", "Swap", "Eject"})
        card->addAction(entry)->setEnabled(false);
    card->addSeparator();
    for (const char* entry : {"Load", "Save"})
        card->addAction(entry)->setEnabled(false);
    card->addSeparator();
    for (const char* entry : {"Card A Write Protect", "Card B Write Protect"})
        card->addAction(entry)->setEnabled(false);
    QMenu* peripherals = popup_->addMenu("Peripherals");
    for (const char* entry : {"Plotter", "Marked Card Reader", "Extended Memory"})
        peripherals->addAction(entry)->setEnabled(false);
    peripherals->addSeparator();
    peripherals->addAction("Marked Card Editor")->setEnabled(false);
    QMenu* roll = popup_->addMenu("Printer Roll");
    roll->addAction("Print", this, &TmainFM::PrintRollToPrinter);
    roll->addAction("Discard", this, &TmainFM::DiscardRoll);
    roll->addAction("View", this, &TmainFM::ViewRoll);
    popup_->addSeparator();
    popup_->addAction("View Program Memory")->setEnabled(false);
    QMenu* reset = popup_->addMenu("Reset Memory");
    reset->addAction("Reset Now", this, &TmainFM::ResetNow);
    resetOnStartUpAction_ =
        reset->addAction("Reset On Start Up", this, &TmainFM::ToggleResetOnStartUp);
    resetOnStartUpAction_->setCheckable(true);
    popup_->addSeparator();
    viewFunctionCardAction_ =
        popup_->addAction("View Function Card", this, &TmainFM::ViewFunctionCard);
    viewFunctionCardAction_->setVisible(false);
    soundsAction_ = popup_->addAction("Sounds", this, &TmainFM::ToggleSounds);
    soundsAction_->setCheckable(true);
    soundsAction_->setChecked(true);
    popup_->addSeparator();
    popup_->addAction("Help", this, [this] { OpenDocument("HP9100BHelp.pdf"); });
    popup_->addAction("About", this, &TmainFM::ShowAbout);
    popup_->addSeparator();
    popup_->addAction("Close    (ESC)", this, &QWidget::close);
}

// ---- Start-up ---------------------------------------------------------------------------------

void TmainFM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstActivation_) StartUp();
}

QRegion PanelMask(const QImage& panel) {
    // The window takes the calculator's outline: sky-blue pixels are not part of it. Built
    // from the runs of each row, which keeps the rule plain: exactly that colour is outside.
    const QImage rgb = panel.convertToFormat(QImage::Format_RGB32);
    QRegion region;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            while (x < rgb.width() && row[x] == kSkyBlue)
                ++x;
            const int start = x;
            while (x < rgb.width() && row[x] != kSkyBlue)
                ++x;
            if (x > start) region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

bool TmainFM::LoadPanel() {
    paperRoll_.clear();
    QImage panel;
    if (!LoadScrambledPng(ProgramFile("PM91B.dat"), panel)) return false;
    scene_.SetPanel(panel.convertToFormat(QImage::Format_ARGB32));
    setFixedSize(panel.size());
    setMask(PanelMask(scene_.Panel()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.width() / 2 - panel.width() / 2, area.height() / 2 - panel.height() / 2);
    }
    return true;
}

void TmainFM::StartUp() {
    firstActivation_ = false;
    if (!LoadPanel()) {
        // Without its picture there is no calculator to show: close quietly, saving nothing.
        calc_.Running = false;
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    hiddenX_ = (screen ? screen->geometry().width() : 1920) + 200;
    PlacePictures();
    settings_ = PanelSettings{};
    LoadSettings(ProgramFile("cce9B.ini").toStdString(), settings_);
    calc_.RunSpeed = settings_.RunSpeed;
    calc_.StepsPerSleep = Calculator::ComputeStepsPerSleep(calc_.RunSpeed);
    ApplySettings();
    mainBounds_.SetMainBounds(x(), width(), y());
    calc_.PowerOn = false;
    ShowSwitch(layout::SwitchSetting::Off);
    scene_.Show(pictures::kDisplayLamp, false);
    calc_.DisplayOn = false;
    RedrawDisplay();
    if (funcCard_) functionCardLoaded_ = funcCard_->LoadPicture(ProgramFile("HPfncd.dat"));
    LoadScrambledTextList(ProgramFile("pf9B.dat"), paperRoll_, printer::kRollFileLimits);
    DrawPaperRoll();
    if (plist_) plist_->UpdatePrint();
    update();
    if (settings_.ResetOnStartUp ||
        !LoadMachineState(ProgramFile("cif9B.ini").toStdString(), calc_))
        calc_.ResetMachine();
    startedUp_ = true;
}

void TmainFM::ApplySettings() {
    soundsAction_->setChecked(settings_.Sounds);
    soundSwitch_.SetOn(settings_.Sounds);
    resetOnStartUpAction_->setChecked(settings_.ResetOnStartUp);
    calc_.RadMode = settings_.RadMode;
    calc_.FloatMode = settings_.FloatMode;
    calc_.ProgramMode = settings_.ProgramMode;
    ShowSwitch(calc_.RadMode ? layout::SwitchSetting::Rad : layout::SwitchSetting::Deg);
    ShowSwitch(calc_.FloatMode ? layout::SwitchSetting::Float : layout::SwitchSetting::Fix);
    ShowSwitch(calc_.ProgramMode ? layout::SwitchSetting::Prgm : layout::SwitchSetting::Run);
    printerOn_ = settings_.PrinterOn;
    printLatch_ = settings_.PrintLatch;
    using layout::PrintButton;
    scene_.Show(pictures::PrintButtonDown(PrintButton::On), printerOn_);
    scene_.Show(pictures::PrintButtonDown(PrintButton::X), printLatch_[0]);
    scene_.Show(pictures::PrintButtonDown(PrintButton::Y), printLatch_[1]);
    scene_.Show(pictures::PrintButtonDown(PrintButton::Z), printLatch_[2]);
    calc_.DecimalWheel = std::clamp(settings_.DecimalWheel, 0, 9);
    for (int d = 0; d <= 9; ++d)
        scene_.Show(pictures::WheelDigit(d), d == calc_.DecimalWheel);
}

void TmainFM::ShowSwitch(layout::SwitchSetting shown) {
    scene_.Show(pictures::SwitchLever(shown), true);
    scene_.Show(pictures::SwitchLever(layout::Partner(shown)), false);
    update();
}

void TmainFM::PlacePictures() {
    using namespace pictures;
    auto add = [this](const QString& name, const layout::Rect& at, bool shown,
                      PanelScene::Layer layer = PanelScene::Pictures) {
        scene_.Add(name, FormPicture(name), QPoint(at.Left, at.Top), layer);
        scene_.Show(name, shown);
    };
    for (int key = 1; key <= layout::kKeyCount; ++key)
        add(PressedKey(key), layout::PressedKeyRect(key), false);
    for (const layout::SwitchPlace& place : layout::kSwitches) {
        add(SwitchLever(place.Setting), place.Lever, false);
        add(SwitchLabel(place.Setting), place.LabelArea, true);
    }
    for (int digit = 0; digit <= 9; ++digit)
        add(WheelDigit(digit), layout::kWheelDigit, false);
    add(kWheelUp, layout::kWheelUp.Area, true);
    add(kWheelDown, layout::kWheelDown.Area, true);
    for (const layout::PrintButtonPlace& place : layout::kPrintButtons)
        add(PrintButtonDown(place.Button), place.Pressed, false);
    add(kDisplayLamp, layout::kDisplayLamp, false);
    add(kErrorLamp, layout::kErrorLamp, false, PanelScene::ErrorLamp);
    add(kFeedDown, layout::kFeedPressed, false);
    add(kCardRecordDown, layout::kCardRecordPressed, false);
    add(kCardEnterDown, layout::kCardEnterPressed, false);
    add(kPaper, layout::kPaper, true, PanelScene::Paper);
    add(kPlaten, layout::kPlaten, true, PanelScene::Platen);
    display_.SetGlyphSheet(FormPicture(kGlyphSheet));
    cursors_.open = QCursor(QPixmap::fromImage(FormPicture(kOpenHand)), 16, 16);
    cursors_.closed = QCursor(QPixmap::fromImage(FormPicture(kClosedHand)), 16, 16);
    CreateLabels();
}

void TmainFM::CreateLabels() {
    QFont font("Calibri");
    font.setPixelSize(13);
    font.setBold(true);
    auto make = [&](const layout::Rect& at) {
        auto* label = new QLabel(this);
        label->setGeometry(at.Left, at.Top, at.Width, at.Height);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(font);
        label->setStyleSheet("QLabel { color: rgb(200, 0, 0); background: black; }");
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->show();
        return label;
    };
    keyNameLabel_ = make(layout::kKeyNameLabel);
    pcKeyLabel_ = make(layout::kPcKeyLabel);
}

// ---- Closing ----------------------------------------------------------------------------------

bool TmainFM::CloseQuery() {
    if (!startedUp_) return true; // nothing was loaded, so nothing may overwrite the files
    if (calc_.Running) {
        // Stop the program between two steps first; the mode-change timer closes again.
        calc_.PendingAction |= pending::Close;
        if (!chgModeTimer_.isActive()) chgModeTimer_.start();
        return false;
    }
    SaveMachineState(ProgramFile("cif9B.ini").toStdString(), calc_);
    SaveScrambledTextList(ProgramFile("pf9B.dat"), paperRoll_);
    return true;
}

void TmainFM::closeEvent(QCloseEvent* event) {
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    if (startedUp_) {
        settings_.Sounds = soundsAction_->isChecked();
        settings_.ResetOnStartUp = resetOnStartUpAction_->isChecked();
        settings_.RadMode = calc_.RadMode;
        settings_.FloatMode = calc_.FloatMode;
        settings_.ProgramMode = calc_.ProgramMode;
        settings_.PrinterOn = printerOn_;
        settings_.PrintLatch = printLatch_;
        settings_.DecimalWheel = calc_.DecimalWheel;
        SaveSettings(ProgramFile("cce9B.ini").toStdString(), settings_);
    }
    chgModeTimer_.stop();
    event->accept();
    QApplication::closeAllWindows();
}

// ---- Menu commands ----------------------------------------------------------------------------

void TmainFM::contextMenuEvent(QContextMenuEvent* event) {
    popup_->popup(event->globalPos());
}

void TmainFM::ResetNow() {
    if (services_.Messages->Confirm(
            "Confirm:\r\rWould you like to clear all calculator memory now?") != MessageAnswer::Yes)
        return;
    calc_.ResetMachine();
    calc_.SetError(0);
    if (calc_.PowerOn) calc_.RefreshDisplay();
}

void TmainFM::ToggleResetOnStartUp() {} // the check mark toggles itself; read at close

void TmainFM::ToggleSounds() {
    soundSwitch_.SetOn(soundsAction_->isChecked());
}

void TmainFM::ShowAbout() {
    services_.Messages->Information("Orrindale - v050418");
}

void TmainFM::ViewFunctionCard() {
    if (funcCard_ && functionCardLoaded_ && !funcCard_->isVisible()) funcCard_->show();
}

void TmainFM::doPlaySound(const char* name) {
    soundSwitch_.doPlaySound(name);
}

bool TmainFM::OpenDocument(const QString& fileName) {
    return orrindale::OpenDocument(services_.ProgramFolder, fileName, *services_.Documents,
                                   *services_.Messages);
}

// ---- Painting and the display -------------------------------------------------------------------

void TmainFM::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    scene_.Paint(painter);
    painter.drawImage(layout::kDisplay.Left, layout::kDisplay.Top, display_.Picture());
}

void TmainFM::RedrawDisplay() {
    scene_.Show(pictures::kErrorLamp, calc_.ErrorLit);
    if (calc_.BusyTicks > 0 && !calc_.Running) {
        // Computing time: the display stays dark, and keys wait, until it has passed.
        display_.Clear();
        if (!busyTimer_.isActive()) busyTimer_.start(calc_.BusyTicks);
    } else if (!busyTimer_.isActive()) {
        display_.Draw(calc_);
    }
    update();
}

void TmainFM::FinishBusyTime() {
    calc_.BusyTicks = 0;
    display_.Draw(calc_);
    update();
    if (const int key = std::exchange(deferredKey_, 0); key != 0) calc_.ExecuteKeyByHand(key);
}

void TmainFM::BrightTimerTimer() {
    // During computing time the warming digits stay dark like the rest of the display.
    if (!display_.BrightnessTick(calc_, !busyTimer_.isActive())) brightTimer_.stop();
    update();
}

void TmainFM::DimTimerTimer() {
    if (!display_.DimTick()) dimTimer_.stop();
}

void TmainFM::PowerSwitched(bool on, bool changed) {
    if (changed) {
        doPlaySound("swc");
        ShowSwitch(on ? layout::SwitchSetting::On : layout::SwitchSetting::Off);
    }
    scene_.Show(pictures::kDisplayLamp, on);
    if (on) {
        dimTimer_.stop();
        display_.PowerOn();
        brightTimer_.start();
    } else {
        brightTimer_.stop();
        feedTimer_.stop();
        if (display_.PowerOff()) brightTimer_.start();
        dimTimer_.start();
    }
    update();
}

void TmainFM::ShowInternalError(const std::string& message) {
    services_.Messages->Error(QString::fromStdString(message));
}

// ---- Run loop pacing --------------------------------------------------------------------------

void TmainFM::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void TmainFM::ProcessMessages() {
    QCoreApplication::processEvents();
}

} // namespace orrindale
