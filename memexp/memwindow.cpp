#include "memexp/memwindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "common/escapeclose.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"
#include "common/programfiles.h"
#include "memexp/instructioncard.h"
#include "memexp/memart.h"
#include "memexp/memlayout.h"
#include "memexp/memoryfile.h"
#include "memexp/memorymap.h"

namespace orrindale {

namespace {
enum SettingsKey { kLineKey = 0, kFilKey = 1 };
const char* const kLoadFailed = "ERROR: Failed to load memory file";
const char* const kFileDamaged =
    "ERROR: Memory file data is corrupt\r\rThe extended memory was left as it was";

QPoint At(const QMouseEvent* event) {
    return event->position().toPoint();
}
} // namespace

TmemFM::TmemFM(const Services& services, Context context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services),
      context_(std::move(context)) {
    EscapeCloser::Install(this);
    setWindowTitle("HP9101A");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    memory_.OnLampChanged([this] { update(); });
    BuildMenu();
}

TmemFM::~TmemFM() = default;

void TmemFM::BuildMenu() {
    popup_ = new QMenu(this);
    popup_->addAction("View Extended Memory", this, &TmemFM::ViewExtendedMemoryClick);
    popup_->addAction("View Memory Map", this, &TmemFM::ViewMemoryMapClick);
    popup_->addAction("Initialise Memory", this, &TmemFM::InitialiseMemoryClick);
    popup_->addAction("View Instruction Card", this, &TmemFM::ViewInstructionCardClick);
    popup_->addSeparator();
    popup_->addAction("Manual", this, &TmemFM::ManualClick);
    popup_->addAction("Help"); // no action
    popup_->addAction("Close  (Esc)", this, &QWidget::close);
}

bool TmemFM::LoadPicture() {
    if (!LoadScrambledBitmap(services_.ProgramFile(files::kExtMemoryPicture), memImage_))
        return false;
    setFixedSize(memImage_.size());
    const QImage sharp = LoadSharpPicture(services_.ProgramFile(files::kExtMemoryPicture2x),
                                          memImage_.size(), PictureScale(devicePixelRatioF()));
    if (!sharp.isNull()) memImage_ = sharp;
    return true;
}

void TmemFM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    if (const QScreen* screen = this->screen()) {
        const QRect calculator = parentWidget() ? parentWidget()->frameGeometry() : QRect();
        const QRect free = screen->availableGeometry();
        const QSize size = frameGeometry().size();
        const QPoint first = PlaceBeside(calculator, size, free);
        move(context_.Taken ? PlaceClear(first, size, context_.Taken(), free) : first);
    }
    StartUp();
}

void TmemFM::StartUp() {
    memory_.LampOff();
    ReadMemorySettings();
    memory_.Image().ClearMemory();
    LoadMemoryFile(services_.StateFile(files::kExtMemoryContents));
}

void TmemFM::ReadMemorySettings() {
    QStringList lines;
    bool line = false, fil = false;
    if (!LoadScrambledTextList(services_.StateFile(files::kExtMemorySwitches), lines,
                               kSettingsListLimits)) {
        services_.StateLoadFailed(files::kExtMemorySwitches);
    } else {
        for (const QString& text : lines) {
            std::string value = ToBytes(text);
            const int key = TakeLineKey(value, true);
            int n = 0;
            const bool on = ParseDecimal(value, n) && n != 0; // unreadable counts as OFF
            if (key == kLineKey) line = on;
            if (key == kFilKey) fil = on;
        }
    }
    SetLineSwitch(line, false);
    SetFilSwitch(fil, false);
}

bool TmemFM::SaveMemorySettings() const {
    return SaveScrambledTextList(NativePath(services_.SaveStateFile(files::kExtMemorySwitches)),
                                 SwitchLines());
}

TextList TmemFM::SwitchLines() const {
    return {LineKey(kLineKey) + BooleanText(memory_.LineOn()),
            LineKey(kFilKey) + BooleanText(memory_.FilOn())};
}

bool TmemFM::LoadMemoryFile(const QString& path) {
    const MemoryLoad load = orrindale::LoadMemoryFile(NativePath(path), memory_.Image());
    // A saved memory that is there but cannot be read is as damaged as one that reads wrong:
    // both are told in an error box, with the place of the old copy. None yet is no fault.
    const bool damaged =
        load == MemoryLoad::Damaged || (load == MemoryLoad::Unreadable && QFileInfo::exists(path));
    if (load != MemoryLoad::Loaded) services_.StateLoadFailed(files::kExtMemoryContents);
    services_.TellStateNotice(damaged ? QString(kLoadFailed) : QString());
    return load == MemoryLoad::Loaded;
}

bool TmemFM::ClearMemoryAndLoad(const QString& path) {
    const OpenFailure failure = OpenMemoryFile(path);
    if (failure.Failed()) services_.Messages->Error(failure.Text());
    return !failure.Failed();
}

OpenFailure TmemFM::OpenMemoryFile(const QString& path) {
    const char* const notMemory = "not a memory file, or a damaged one";
    TextList lines;
    if (!LoadScrambledTextList(NativePath(path), lines, kMemoryFileLimits))
        return ReadFailure(kLoadFailed, path, kMemoryFileLimits.MaxBytes, notMemory);
    // The whole file is checked before the memory changes: a damaged one would otherwise
    // leave an emptied memory that the close then writes over the saved one.
    if (ReadMemoryLines(lines, memory_.Image()) == MemoryLoad::Loaded) return {};
    return {kFileDamaged, path, notMemory};
}

bool TmemFM::SaveMemoryFile(const QString& path, bool full) {
    if (orrindale::SaveMemoryFile(NativePath(path), memory_.Image(), full)) return true;
    services_.Messages->Error("ERROR: Failed to save memory file");
    return false;
}

std::vector<StateWrite> TmemFM::WritesAtClose() const {
    if (firstShow_) return {};
    const MemoryImage& image = memory_.Image();
    const TextList switches = SwitchLines();
    return {{files::kExtMemoryContents,
             [&image](const QString& path) {
                 return orrindale::SaveMemoryFile(NativePath(path), image, true);
             }},
            {files::kExtMemorySwitches, [switches](const QString& path) {
                 return SaveScrambledTextList(NativePath(path), switches);
             }}};
}

void TmemFM::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        // Saved by the calculator's close a moment ago, or to be saved now: the window stays
        // open when the user would rather not close without its files.
        if (!savedAtClose_ &&
            SaveStateFiles(services_, WritesAtClose()) == SaveOutcome::Cancelled) {
            event->ignore();
            return;
        }
        closed_ = true;
        if (context_.RequestRelease) context_.RequestRelease();
    }
    event->accept();
}

void TmemFM::SetLineSwitch(bool on, bool sound) {
    if (sound) services_.doPlaySound("swc");
    memory_.SetLine(on);
    update();
}

void TmemFM::SetFilSwitch(bool on, bool sound) {
    if (sound) services_.doPlaySound("swc");
    memory_.SetFil(on);
    update();
}

void TmemFM::paintEvent(QPaintEvent*) {
    using namespace memlayout;
    QPainter painter(this);
    painter.drawImage(0, 0, memImage_);
    if (memory_.LineOn()) memart::DrawLeverUp(painter, kLineLever);
    if (memory_.FilOn()) memart::DrawLeverUp(painter, kFilLever);
    if (memory_.LineOn()) memart::DrawLamp(painter, kOnLamp, true);
    if (memory_.FilOn()) memart::DrawLamp(painter, kFilLamp, true);
    if (memory_.FmtLamp()) memart::DrawLamp(painter, kFmtLamp, true);
}

void TmemFM::mousePressEvent(QMouseEvent* event) {
    using namespace memlayout;
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = At(event);
    if (kMoveStrip.Contains(p.x(), p.y())) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - pos();
        setCursor(Qt::ClosedHandCursor);
    } else if (kLineOnArea.Contains(p.x(), p.y())) {
        SetLineSwitch(true, true);
    } else if (kLineOffArea.Contains(p.x(), p.y())) {
        SetLineSwitch(false, true);
    } else if (kFilOnArea.Contains(p.x(), p.y())) {
        SetFilSwitch(true, true);
    } else if (kFilOffArea.Contains(p.x(), p.y())) {
        SetFilSwitch(false, true);
    }
}

void TmemFM::mouseMoveEvent(QMouseEvent* event) {
    using namespace memlayout;
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    const QPoint p = At(event);
    const bool onSwitch = kLineOnArea.Contains(p.x(), p.y()) ||
                          kLineOffArea.Contains(p.x(), p.y()) ||
                          kFilOnArea.Contains(p.x(), p.y()) || kFilOffArea.Contains(p.x(), p.y());
    if (onSwitch)
        setCursor(Qt::PointingHandCursor);
    else if (kMoveStrip.Contains(p.x(), p.y()))
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

void TmemFM::mouseReleaseEvent(QMouseEvent*) {
    if (!dragging_) return;
    dragging_ = false;
    unsetCursor();
    if (services_.Bounds) services_.Bounds->SetMainBounds(x(), width(), y());
}

void TmemFM::contextMenuEvent(QContextMenuEvent* event) {
    popup_->popup(event->globalPos());
}

void TmemFM::ViewExtendedMemoryClick() {
    if (context_.ViewMemory) context_.ViewMemory();
    update();
}

void TmemFM::ViewMemoryMapClick() {
    TmapFM map(MemoryMapText(memory_.Image()), this);
    map.exec();
}

void TmemFM::InitialiseMemoryClick() {
    if (services_.Messages->Confirm("This will clear all expanded memory\r\rContinue?") ==
        MessageAnswer::Yes)
        memory_.Image().ClearMemory();
}

void TmemFM::ViewInstructionCardClick() {
    TmmpnFM card(services_, this);
    if (card.LoadCard()) card.exec();
}

void TmemFM::ManualClick() {
    services_.OpenDocument(files::kExtMemoryHelpDocument);
}

} // namespace orrindale
