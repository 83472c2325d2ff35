#include "panel/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <cstring>
#include <utility>

#include "common/atomicfile.h"
#include "common/escapeclose.h"
#include "common/filedrop.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "common/sounds.h"
#include "common/statefiles.h"
#include "common/statesave.h"
#include "common/version.h"
#include "common/versiontext.h"
#include "panel/funccard.h"
#include "panel/layout.h"
#include "panel/layoutrects.h"
#include "panel/machinestate.h"
#include "panel/paperviewer.h"
#include "panel/pictures.h"
#include "panel/plotterlink.h"
#include "panel/readerlink.h"
#include "viewer/view.h"

namespace orrindale {

namespace {
constexpr int kChgModeInterval = 25;
constexpr int kDisplayTimerInterval = 100;

// A hand cursor, its hot spot in the middle. Qt 6.4's X11 backend hands the hot spot to the
// server as given, in the picture's own pixels; the other backends take it in logical pixels.
QCursor HandCursor(const char* name, int scale) {
    const QImage picture = pictures::FormPicture(name, scale);
    const int pixels = QGuiApplication::platformName() == QLatin1String("xcb")
                           ? static_cast<int>(picture.devicePixelRatio())
                           : 1;
    return QCursor(QPixmap::fromImage(picture), 16 * pixels, 16 * pixels);
}

// The bytes compared at once (QImage's own comparison goes pixel by pixel).
bool SamePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.format() == b.format() &&
           a.bytesPerLine() == b.bytesPerLine() &&
           std::memcmp(a.constBits(), b.constBits(), static_cast<std::size_t>(a.sizeInBytes())) ==
               0;
}
} // namespace

TmainFM::TmainFM(const Services& services, QWidget* parent)
    : QWidget(parent), services_(services), calc_(*this), keys_(calc_, KeyPanel()),
      printer_(calc_, scene_, services_, paperRoll_, PrinterWindow(), this),
      cards_(calc_, scene_, services_, CardWindow(), this), peripherals_(this, [this](int bit) {
          calc_.PendingAction |= bit;
          StartChgModeTimer();
      }) {
    if (!services_.State) {
        state_ = MakeStateFiles(services_, false);
        services_.State = state_.get();
    }
    setWindowTitle("HP9100B");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    access::InstallPanelAccessibility();
    EscapeCloser::Install(this, [this] {
        // Escape first takes the keyboard's focus off the controls.
        if (FocusedItem() >= 0)
            ClearFocus();
        else if (!PlotterOpen())
            close();
    });
    calc_.ApplyRunSpeed(kDefaultRunSpeed);
    calc_.SetDecimalWheel(2);
    calc_.ResetMachine();
    CreateTimers();
    BuildMenu();
    MakeLinks();
    const DropTakes takes = [this](const QStringList& files) { return TakesDrop(files); };
    const FilesDropped dropped = [this](const QStringList& files) { OpenFiles(files); };
    AcceptFileDrops(this, takes, dropped);
    peripherals_.SetFileDrops(takes, dropped);
}

void TmainFM::MakeLinks() {
    links_.push_back(std::make_unique<ReaderLink>(
        peripherals_, services_,
        ReaderLink::Panel{&calc_, [this](bool hidden) { SetDisplayHidden(hidden); },
                          [this](QSize reader) { return ReaderPlaceOnScreen(reader); }}));
    auto extMemory = std::make_unique<ExtMemoryLink>(peripherals_, services_, calc_, this);
    extMemory_ = extMemory.get();
    links_.push_back(std::move(extMemory));
    links_.push_back(std::make_unique<PlotterLink>(
        peripherals_, services_,
        PlotterLink::Panel{[this] { return calc_.PowerOn; }, [this] { keys_.ComputingOver(); },
                           [this] { return frameGeometry(); }}));
}

PlotterPort* TmainFM::Plotter() {
    for (const auto& link : links_)
        if (PlotterPort* port = link->Plotter()) return port;
    return nullptr;
}

ExtMemoryPort* TmainFM::ExtMemory() {
    for (const auto& link : links_)
        if (ExtMemoryPort* port = link->ExtMemory()) return port;
    return nullptr;
}

TmainFM::~TmainFM() = default;

PrinterPanel::Window TmainFM::PrinterWindow() {
    PrinterPanel::Window w;
    w.Widget = this;
    w.Repaint = [this](QRect r) { update(r); };
    w.RedrawDisplay = [this] { RedrawDisplay(); };
    w.LastKey = [this] { return keys_.LastKey(); };
    w.PictureScale = [this] { return PictureScale(); };
    return w;
}

CardSlot::Window TmainFM::CardWindow() {
    CardSlot::Window w;
    w.Widget = this;
    w.Repaint = [this](QRect r) { update(r); };
    w.ShowKeyLabels = [this](bool shown) {
        CreateLabels();
        for (QLabel* label : {keyNameLabel_, pcKeyLabel_})
            label->setVisible(shown);
    };
    w.PictureScale = [this] { return PictureScale(); };
    return w;
}

void TmainFM::SetPaperWindow(TplistFM* window) {
    plist_ = window;
    if (window) window->SetServices(services_);
    printer_.SetViewer(window);
}

void TmainFM::CreateTimers() {
    // Named as the tests find them.
    chgModeTimer_.setObjectName("ChgModeTimer");
    brightTimer_.setObjectName("brightTimer");
    dimTimer_.setObjectName("dimTimer");
    busyTimer_.setObjectName("busyTimer");
    chgModeTimer_.setInterval(kChgModeInterval);
    connect(&chgModeTimer_, &QTimer::timeout, this, [this] { calc_.ChgModeTimerTimer(); });
    brightTimer_.setInterval(kDisplayTimerInterval);
    connect(&brightTimer_, &QTimer::timeout, this, &TmainFM::BrightTimerTimer);
    dimTimer_.setInterval(kDisplayTimerInterval);
    connect(&dimTimer_, &QTimer::timeout, this, &TmainFM::DimTimerTimer);
    busyTimer_.setSingleShot(true);
    connect(&busyTimer_, &QTimer::timeout, this, &TmainFM::FinishBusyTime);
}

void TmainFM::BuildMenu() {
    popup_ = new QMenu(this);
    cards_.BuildMenu(popup_->addMenu("Magnetic Card"));
    QMenu* peripherals = popup_->addMenu("Peripherals");
    using Kind = Peripherals::Kind;
    const std::pair<const char*, Kind> windows[] = {{"Plotter", Kind::Plotter},
                                                    {"Marked Card Reader", Kind::CardReader},
                                                    {"Extended Memory", Kind::ExtMemory}};
    for (const auto& [entry, kind] : windows) {
        QAction* action =
            peripherals->addAction(entry, this, [this, k = kind] { peripherals_.Open(k); });
        // Enabled once the window of that kind can be made.
        connect(popup_, &QMenu::aboutToShow, action,
                [this, action, k = kind] { action->setEnabled(peripherals_.CanOpen(k)); });
    }
    peripherals->addSeparator();
    peripherals->addAction("Marked Card Editor", this, &TmainFM::RunCardEditor);
    QMenu* roll = popup_->addMenu("Printer Roll");
    roll->addAction("Print", &printer_, &PrinterPanel::PrintRoll);
    roll->addAction("Discard", &printer_, &PrinterPanel::Discard);
    roll->addAction("View", &printer_, &PrinterPanel::View);
    popup_->addSeparator();
    popup_->addAction("View Program Memory", this, [this] { ViewProgramMemory(); });
    // Ctrl+C and Ctrl+V work them while the pointer rests on no key; they are no shortcuts of
    // the menu, which would take them from the key under the pointer.
    popup_->addAction("Copy X\tCtrl+C", this, &TmainFM::CopyX);
    popup_->addAction("Paste Into X\tCtrl+V", this, &TmainFM::PasteX);
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
    popup_->addAction("Help", this, [this] { OpenDocument(files::kHelpDocument); });
    popup_->addAction("About", this, &TmainFM::ShowAbout);
    popup_->addSeparator();
    popup_->addAction("Close    (ESC)", this, &QWidget::close);
}

// ---- Start-up ---------------------------------------------------------------------------------

void TmainFM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstActivation_) StartUp();
}

bool TmainFM::LoadPanel() {
    paperRoll_.clear();
    const int scale = PictureScale();
    const PanelFiles files = PanelFilesIn(services_.ProgramFolder);
    PanelPicture read =
        preloadedPanel_ ? preloadedPanel_->Take(scale) : ReadPanelPicture(files, scale);
    preloadedPanel_.reset();
    // Read ahead for the primary screen, which may scale otherwise than this window's screen.
    if (read.Picture.devicePixelRatio() != scale && !read.Picture.isNull())
        read = ReadPanelPicture(files, scale);
    if (read.Picture.isNull()) return false;
    const QSize panel = read.Picture.deviceIndependentSize();
    scene_.SetPanel(std::move(read.Picture));
    setFixedSize(panel);
    setMask(read.Outline);
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
        calc_.AbandonRun();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    hiddenX_ = (screen ? screen->geometry().width() : 1920) + 200;
    PlacePictures();
    settings_ = PanelSettings{};
    services_.State->RemoveLeftovers();
    // Those too young to go now may be saves under way; a minute on, any still there were killed.
    QTimer::singleShot(kLeftoverAge + std::chrono::seconds(1), this,
                       [this] { services_.State->RemoveLeftovers(); });
    if (!LoadSettings(StatePath(files::kPanelSettings), settings_))
        services_.StateLoadFailed(files::kPanelSettings);
    calc_.ApplyRunSpeed(settings_.RunSpeed);
    calc_.StartSwitchedOff();
    ApplySettings();
    services_.Bounds->SetMainBounds(x(), width(), y());
    ShowSwitch(layout::SwitchSetting::Off);
    scene_.Show(pictures::kDisplayLamp, false);
    RedrawDisplay();
    LoadRollAndState();
    cards_.StartUp(settings_.CardFileName, settings_.CardSide);
    startedUp_ = true;
    // Told over the calculator once it is on the screen, not before it.
    QTimer::singleShot(0, this, [this] { services_.TellStateNotice(); });
}

void TmainFM::LoadRollAndState() {
    // A discarded roll is saved as a list of no lines, which reads as a failure but is none.
    if (!LoadScrambledTextList(services_.StateFile(files::kPaperRoll), paperRoll_,
                               printer::kRollFileLimits) &&
        !IsEmptyScrambledTextList(StatePath(files::kPaperRoll)))
        services_.StateLoadFailed(files::kPaperRoll);
    printer_.DrawRoll();
    if (plist_) plist_->UpdatePrint();
    update();
    if (settings_.ResetOnStartUp) {
        calc_.ResetMachine();
    } else if (!LoadMachineState(StatePath(files::kMachineState), calc_)) {
        services_.StateLoadFailed(files::kMachineState);
        calc_.ResetMachine();
    }
}

std::string TmainFM::StatePath(const char* name) const {
    return QFile::encodeName(services_.StateFile(name)).toStdString();
}

std::string TmainFM::SavePath(const char* name) const {
    return QFile::encodeName(services_.SaveStateFile(name)).toStdString();
}

void TmainFM::ApplySettings() {
    soundsAction_->setChecked(settings_.Sounds);
    services_.Sounds->SetOn(settings_.Sounds);
    resetOnStartUpAction_->setChecked(settings_.ResetOnStartUp);
    calc_.SetAngleMode(settings_.RadMode);
    calc_.SetDisplayMode(settings_.FloatMode);
    calc_.SetProgramMode(settings_.ProgramMode); // switched off: only the switch moves
    ShowSwitch(calc_.RadMode ? layout::SwitchSetting::Rad : layout::SwitchSetting::Deg);
    ShowSwitch(calc_.FloatMode ? layout::SwitchSetting::Float : layout::SwitchSetting::Fix);
    ShowSwitch(calc_.ProgramMode ? layout::SwitchSetting::Prgm : layout::SwitchSetting::Run);
    printer_.SetButtons(settings_.PrinterOn, settings_.PrintLatch);
    calc_.SetDecimalWheel(settings_.DecimalWheel);
    ShowWheel();
}

void TmainFM::ShowSwitch(layout::SwitchSetting shown) {
    scene_.Show(pictures::SwitchLever(shown), true);
    scene_.Show(pictures::SwitchLever(layout::Partner(shown)), false);
    update();
    announcer_.Checked(this, access::kFirstSwitchItem + static_cast<int>(shown) / 2);
}

int TmainFM::PictureScale() const {
    return orrindale::PictureScale(devicePixelRatioF());
}

void TmainFM::PlacePictures() {
    using namespace pictures;
    const int scale = PictureScale();
    auto add = [this, scale](const QString& name, const layout::Rect& at, bool shown,
                             PanelScene::Layer layer = PanelScene::Pictures) {
        scene_.AddDeferred(
            name, [name, scale] { return FormPicture(name, scale); },
            QRect(at.Left, at.Top, at.Width, at.Height), layer);
        scene_.Show(name, shown);
    };
    // Shown from the start and the same pixels as the panel beneath them: cut from the panel
    // picture rather than decoded again.
    auto addPart = [this](const QString& name, const layout::Rect& at,
                          PanelScene::Layer layer = PanelScene::Pictures) {
        const QRect place(at.Left, at.Top, at.Width, at.Height);
        scene_.AddDeferred(
            name, [this, place] { return scene_.PanelPart(place); }, place, layer);
        scene_.Show(name, true);
    };
    for (int key = 1; key <= layout::kKeyCount; ++key)
        add(PressedKey(key), layout::PressedKeyRect(key), false);
    for (const layout::SwitchPlace& place : layout::kSwitches) {
        add(SwitchLever(place.Setting), place.Lever, false);
        addPart(SwitchLabel(place.Setting), place.LabelArea);
    }
    for (int digit = 0; digit <= 9; ++digit)
        add(WheelDigit(digit), layout::kWheelDigit, false);
    addPart(kWheelUp, layout::kWheelUp.Area);
    addPart(kWheelDown, layout::kWheelDown.Area);
    for (const layout::PrintButtonPlace& place : layout::kPrintButtons)
        add(PrintButtonDown(place.Button), place.Pressed, false);
    add(kDisplayLamp, layout::kDisplayLamp, false);
    add(kErrorLamp, layout::kErrorLamp, false, PanelScene::ErrorLamp);
    add(kFeedDown, layout::kFeedPressed, false);
    add(kCardRecordDown, layout::kCardRecordPressed, false);
    add(kCardEnterDown, layout::kCardEnterPressed, false);
    addPart(kPaper, layout::kPaper, PanelScene::Paper);
    addPart(kPlaten, layout::kPlaten, PanelScene::Platen);
    cards_.PlacePictures();
    display_.SetGlyphSheet(FormPicture(kGlyphSheet, scale));
}

const QCursor& TmainFM::DragCursor(bool closed) {
    std::optional<QCursor>& cursor = closed ? closedHand_ : openHand_;
    if (!cursor)
        cursor = HandCursor(closed ? pictures::kClosedHand : pictures::kOpenHand, PictureScale());
    return *cursor;
}

void TmainFM::CreateLabels() {
    // Made when first needed: blank, they show nothing but the black of the panel beneath them,
    // and theirs would be the only font needed at start (finding a font reads the desktop's whole
    // font configuration).
    if (keyNameLabel_) return;
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
    // Nobody can answer the card's question when the program ends on a signal or with the
    // desktop session: the card is kept aside rather than lost or written over its file.
    if (Unattended())
        KeepAside(services_, cards_.UnsavedCard(), "the program card had not been saved");
    else if (!cards_.CloseQuery())
        return false;
    // Whatever the answer about the card, the machine state and the roll are kept.
    return SaveStateFiles(services_, WritesAtClose()) != SaveOutcome::Cancelled;
}

bool TmainFM::Unattended() const {
    return services_.State && services_.State->Unattended();
}

std::vector<StateWrite> TmainFM::WritesAtClose() {
    settings_.Sounds = soundsAction_->isChecked();
    settings_.ResetOnStartUp = resetOnStartUpAction_->isChecked();
    settings_.RadMode = calc_.RadMode;
    settings_.FloatMode = calc_.FloatMode;
    settings_.ProgramMode = calc_.ProgramMode;
    settings_.PrinterOn = printer_.OnButton();
    settings_.PrintLatch = printer_.Latches();
    settings_.DecimalWheel = calc_.DecimalWheel;
    settings_.CardFileName = cards_.Card().cardFileName;
    settings_.CardSide = cards_.Card().cardSide;
    auto native = [](const QString& path) { return QFile::encodeName(path).toStdString(); };
    std::vector<StateWrite> writes = {
        {files::kMachineState,
         [this, native](const QString& path) { return SaveMachineState(native(path), calc_); }},
        {files::kPaperRoll,
         [this](const QString& path) { return SaveScrambledTextList(path, paperRoll_); }},
        {files::kPanelSettings,
         [this, native](const QString& path) { return SaveSettings(native(path), settings_); }},
    };
    for (const auto& link : links_)
        for (StateWrite& write : link->WritesAtClose())
            writes.push_back(std::move(write));
    return writes;
}

void TmainFM::SaveSession() {
    // A running program's state is saved when it stops, at the close that follows.
    if (!startedUp_ || calc_.Running || !services_.State) return;
    const bool unattended = services_.State->Unattended();
    services_.State->SetUnattended(true);
    SaveStateFiles(services_, WritesAtClose());
    services_.State->SetUnattended(unattended);
}

void TmainFM::closeEvent(QCloseEvent* event) {
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    for (const auto& link : links_)
        link->ShutDown();
    chgModeTimer_.stop();
    event->accept();
    QApplication::closeAllWindows();
}

// ---- Menu commands ----------------------------------------------------------------------------

void TmainFM::contextMenuEvent(QContextMenuEvent* event) {
    popup_->popup(event->globalPos());
}

void TmainFM::ViewProgramMemory() {
    RunViewer({});
}

OpenFailure TmainFM::RunViewer(const QString& listing) {
    if (calc_.Running) {
        const QString refusal = "Please stop program running to view code";
        if (!listing.isEmpty()) return {refusal, listing, {}};
        services_.Messages->Information(refusal);
        return {};
    }
    TviewFM viewer(services_, ProgramMemoryOf(calc_), false, this);
    viewer.SetCardExport([this](const std::vector<int>& codes, QWidget* parent) {
        return ExportCards(codes, parent);
    });
    if (!listing.isEmpty())
        if (OpenFailure failure = viewer.OpenListing(listing); failure.Failed()) return failure;
    viewer.exec();
    // Send To Memory may have rewritten the step the display shows in PRGM mode.
    if (calc_.PowerOn) calc_.RefreshDisplay();
    return {};
}

void TmainFM::ResetNow() {
    if (services_.Messages->Confirm(
            "Confirm:\r\rWould you like to clear all calculator memory now?") != MessageAnswer::Yes)
        return;
    keys_.DropQueue();
    calc_.ResetMachine();
    calc_.SetError(0);
    if (calc_.PowerOn) calc_.RefreshDisplay();
}

void TmainFM::ToggleResetOnStartUp() {} // the check mark toggles itself; read at close

void TmainFM::ToggleSounds() {
    services_.Sounds->SetOn(soundsAction_->isChecked());
}

void TmainFM::ShowAbout() {
    services_.Messages->Information(
        QString::fromStdString("Orrindale - " + AboutVersion(kVersion)));
}

void TmainFM::ViewFunctionCard() {
    if (!funcCard_ || funcCard_->isVisible()) return;
    // The picture is read when first asked for, not at start: most sessions never show it.
    if (!functionCardTried_) {
        functionCardTried_ = true;
        const bool sharp = orrindale::PictureScale(funcCard_->devicePixelRatioF()) == 2;
        functionCardLoaded_ =
            (sharp && funcCard_->LoadPicture(ProgramFile(files::kFunctionCardPicture2x), 2)) ||
            funcCard_->LoadPicture(ProgramFile(files::kFunctionCardPicture));
    }
    if (functionCardLoaded_) funcCard_->show();
}

// ---- Painting and the display -------------------------------------------------------------------

void TmainFM::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    scene_.Paint(painter, event->region());
    painter.drawImage(layout::kDisplay.Left, layout::kDisplay.Top, display_.Picture());
    if (const int item = FocusedItem(); item >= 0) {
        // A thin rounded outline, in the light grey of the key legends, with a dark edge that
        // keeps it seen on the light case as on the dark keys.
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF mark = QRectF(access::ItemArea(item)).adjusted(-2.5, -2.5, 2.5, 2.5);
        painter.setPen(QPen(QColor(40, 40, 40), 3));
        painter.drawRoundedRect(mark, 3, 3);
        painter.setPen(QPen(QColor(235, 230, 215), 1.5));
        painter.drawRoundedRect(mark, 3, 3);
    }
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
    DisplayChanged();
}

void TmainFM::FinishBusyTime() {
    calc_.BusyTicks = 0;
    display_.Draw(calc_);
    DisplayChanged();
    keys_.ComputingOver();
}

void TmainFM::BrightTimerTimer() {
    // During computing time the warming digits stay dark like the rest of the display.
    if (!display_.BrightnessTick(calc_, !busyTimer_.isActive())) brightTimer_.stop();
    DisplayChanged();
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
    cards_.PowerSwitched(on);
    for (const auto& link : links_)
        link->PowerChanged(on);
    if (on) {
        dimTimer_.stop();
        display_.PowerOn();
        brightTimer_.start();
    } else {
        brightTimer_.stop();
        printer_.StopFeed();
        keys_.DropQueue();
        if (display_.PowerOff()) brightTimer_.start();
        dimTimer_.start();
    }
    update(); // the lamp, the card slot and the peripherals' parts of the panel too
    DisplayChanged();
}

void TmainFM::DisplayChanged() {
    // A running program redraws its display again and again, mostly as the same dark display;
    // only a change is painted, and only the display and the error lamp. Repainting the whole
    // panel each time took most of the process's time under X.
    const bool errorLit = scene_.IsShown(pictures::kErrorLamp);
    if (!SamePixels(display_.Picture(), paintedDisplay_) || errorLit != paintedErrorLamp_) {
        paintedDisplay_ = display_.Picture().copy(); // its own pixels, not shared with the next
        paintedErrorLamp_ = errorLit;
        update(ToQRect(layout::kDisplay));
        update(ToQRect(layout::kErrorLamp));
    }
    announcer_.Update(this, display_.ShownLines());
}

void TmainFM::ShowInternalError(const std::string& message) {
    services_.Messages->Error(QString::fromStdString(message));
}

// ---- Run loop pacing --------------------------------------------------------------------------

void TmainFM::Sleep(int milliseconds) {
    // Until the next mark of a steady grid, so the steps and message passes between two
    // sleeps do not slow the program's pace.
    pacer_.SleepUntilNextMark(std::chrono::milliseconds(milliseconds));
}

void TmainFM::ProcessMessages() {
    QCoreApplication::processEvents();
}

} // namespace orrindale
