#include "panel/cardslot.h"

#include <QFile>
#include <QFont>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include "cards/magnetic/cardnames.h"
#include "common/choosers.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/services.h"
#include "engine/calculator.h"
#include "panel/layout.h"
#include "panel/layoutrects.h"
#include "panel/pictures.h"
#include "panel/scene.h"

namespace orrindale {

namespace {
constexpr int kCardInterval = 100;
constexpr int kEndShown = 15; // rows of the card that stick out of the slot at rest
constexpr char kCardView[] = "card_view";
constexpr char kSideLabel[] = "card_side";
// The name strip: 94 x 8 pixels of text, turned to stand at (58, 7) on the card.
constexpr int kNameLength = 94, kNameHeight = 8, kNameLeft = 58, kNameTop = 7;

QPoint At(const layout::Rect& r) {
    return QPoint(r.Left, r.Top);
}
QString NativeToQString(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
int Scale(const QImage& picture) {
    return static_cast<int>(picture.devicePixelRatio());
}
// Draws the part `from` of a picture, in logical pixels, at `at` on another: a picture drawn
// at 2x keeps its resolution on a target at 2x.
void DrawPart(QImage& target, QPoint at, const QImage& source, const QRect& from) {
    const int s = Scale(source);
    QPainter(&target).drawImage(at, source, QRect(from.topLeft() * s, from.size() * s));
}
} // namespace

CardSlot::CardSlot(Calculator& calc, PanelScene& scene, const Services& services, Window window,
                   QObject* parent)
    : QObject(parent), calc_(calc), scene_(scene), services_(services), window_(std::move(window)),
      cycle_(layout::kCardView.Height), cardTimer_(this) {
    cardTimer_.setObjectName("cardTimer");
    cardTimer_.setInterval(kCardInterval);
    connect(&cardTimer_, &QTimer::timeout, this, &CardSlot::cardTimerTimer);
    editNames_ = [this](QString& a, QString& b) {
        TcardFM dialog(window_.Widget, services_.Messages);
        dialog.PutNames(a, b);
        if (dialog.exec() != QDialog::Accepted) return false;
        dialog.GetNames(a, b);
        return true;
    };
}

void CardSlot::PlacePictures() {
    scale_ = window_.PictureScale();
    view_ = QImage(layout::kCardView.Width * scale_, layout::kCardView.Height * scale_,
                   QImage::Format_RGB32);
    view_.setDevicePixelRatio(scale_);
    cardBitmap_ = view_;
    scene_.Add(kCardView, view_, At(layout::kCardView), PanelScene::Card);
    // Shown only with a card in the slot, which sets its picture.
    scene_.AddDeferred(
        kSideLabel, [scale = scale_] { return pictures::FormPicture(pictures::kCardSideA, scale); },
        ToQRect(layout::kCardSideLabel), PanelScene::Card);
    cardKey_.reset();
}

void CardSlot::BuildMenu(QMenu* menu) {
    captionAction_ = menu->addAction("[]");
    captionAction_->setEnabled(false);
    menu->addSeparator();
    powerActions_ = {menu->addAction("New", this, &CardSlot::NewProgramcard1Click),
                     menu->addAction("Swap", this, &CardSlot::SwapProgramcard1Click),
                     menu->addAction("Eject", this, &CardSlot::EjectProgramCard1Click)};
    menu->addSeparator();
    powerActions_.push_back(menu->addAction("Load", this, &CardSlot::LoadProgramCard1Click));
    powerActions_.push_back(menu->addAction("Save", this, &CardSlot::SaveProgramCard1Click));
    menu->addSeparator();
    protectA_ = menu->addAction("Card A Write Protect", this, &CardSlot::CardAWriteProtect1Click);
    protectB_ = menu->addAction("Card B Write Protect", this, &CardSlot::CardBWriteProtect1Click);
    for (QAction* action : {protectA_, protectB_})
        action->setCheckable(true);
    for (QAction* action : powerActions_)
        action->setEnabled(false);
    UpdateProtectMenu();
}

void CardSlot::StartUp(const std::string& fileName, bool side) {
    UpdateProtectMenu();
    if (fileName.empty()) return;
    const QString path = NativeToQString(fileName);
    const CardLoad loaded = card_.LoadCardFile(fileName, side);
    if (loaded == CardLoad::Loaded) {
        UpdateCardCaption();
        InsertCard();
        return;
    }
    if (loaded == CardLoad::Unreadable && !QFile::exists(path)) return; // gone since: forgotten
    // Start-up runs as the calculator is being shown: the message waits until it stands on
    // the screen.
    QTimer::singleShot(0, this, [this, path, loaded] {
        services_.Messages->Error(LoadFailure(loaded, path).Text());
    });
}

// ---- Drawing ------------------------------------------------------------------------------------

void CardSlot::ShowView() {
    // The card's corners and the slot around it take the panel's colours: the colour of the
    // protection card's top-left pixel is transparent. It is read once, since the view is shown
    // again at every step of a card's pass.
    if (!cardKey_) cardKey_ = pictures::FormPicture(pictures::kCardWPA, scale_).pixel(0, 0);
    const QRgb key = *cardKey_;
    QImage shown = view_.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            if (row[x] == key) row[x] = qRgba(0, 0, 0, 0);
    }
    scene_.SetImage(kCardView, shown);
    scene_.Show(kCardView, true);
    window_.Repaint(ToQRect(layout::kCardView));
}

void CardSlot::InsertCard() {
    // The face shows the protection tab of the side that does not face the reader.
    const char* face = card_.cardSide && card_.protectB    ? pictures::kCardWPB
                       : !card_.cardSide && card_.protectA ? pictures::kCardWPA
                                                           : pictures::kCardAB;
    QImage picture = pictures::FormPicture(face, scale_).convertToFormat(QImage::Format_RGB32);
    if (!card_.cardSide) picture = RotateBitmap180(picture);
    const int s = Scale(picture);
    cardBitmap_ = picture.copy(0, 0, layout::kCardView.Width * s, layout::kCardView.Height * s);
    view_ =
        pictures::FormPicture(pictures::kCardSlot, scale_).convertToFormat(QImage::Format_RGB32);
    DrawPart(view_, QPoint(0, layout::kCardView.Height - kEndShown), cardBitmap_,
             QRect(0, 0, layout::kCardView.Width, kEndShown));
    // Drawn after the end was copied: the name is seen while the card moves. The whole name, as
    // the user wrote it: a name is no file name, and "v1.2 sum" is not "v1".
    DrawCardName(FromBytes(card_.FacingName()));
    ShowView();
    scene_.SetImage(kSideLabel,
                    pictures::FormPicture(
                        card_.cardSide ? pictures::kCardSideA : pictures::kCardSideB, scale_));
    scene_.Show(kSideLabel, true);
    window_.Repaint(ToQRect(layout::kCardSideLabel));
    card_.cardPresent = true;
    UpdateProtectMenu();
}

void CardSlot::DrawCardName(const QString& text) {
    // At the resolution of the card it is written on, so that a 2x card gets 2x letters.
    const int s = Scale(cardBitmap_);
    QImage strip(kNameLength * s, kNameHeight * s, QImage::Format_RGB32);
    strip.setDevicePixelRatio(s);
    const QImage face = pictures::FormPicture(pictures::kCardAB, scale_);
    strip.fill(face.pixel(5 * Scale(face), 5 * Scale(face)));
    {
        QPainter painter(&strip);
        QFont font("Liberation Sans"); // metric twin of Arial
        font.setPixelSize(7);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, kNameLength, kNameHeight), Qt::AlignLeft | Qt::AlignTop, text);
    }
    QPainter(&cardBitmap_).drawImage(kNameLeft, kNameTop, RotateBitmap90(strip));
}

void CardSlot::ClearCard() {
    card_.ClearCard();
    UpdateCardCaption();
    scene_.Show(kCardView, false);
    scene_.Show(kSideLabel, false);
    window_.Repaint(ToQRect(layout::kCardView).united(ToQRect(layout::kCardSideLabel)));
}

void CardSlot::UpdateCardCaption() {
    // A file name with "&" would otherwise underline the letter after it.
    QString caption = FromBytes(CardCaption(card_.cardFileName));
    if (captionAction_) captionAction_->setText(caption.replace('&', "&&"));
}

void CardSlot::UpdateProtectMenu() {
    if (!protectA_) return;
    protectA_->setChecked(card_.protectA);
    protectB_->setChecked(card_.protectB);
    protectA_->setEnabled(card_.cardPresent);
    protectB_->setEnabled(card_.cardPresent);
}

// ---- The record and enter keys and the cycle ----------------------------------------------------

bool CardSlot::MouseDown(QPoint at) {
    if (layout::kCardRecordArea.Holds(at.x(), at.y()))
        pressed_ = pictures::kCardRecordDown;
    else if (layout::kCardEnterArea.Holds(at.x(), at.y()))
        pressed_ = pictures::kCardEnterDown;
    else
        return false;
    scene_.Show(pressed_, true);
    window_.Repaint(scene_.Bounds(pressed_));
    if (!Cycling()) services_.doPlaySound("s1d");
    return true;
}

bool CardSlot::MouseUp() {
    const char* released = std::exchange(pressed_, nullptr);
    if (!released) return false;
    scene_.Show(released, false);
    window_.Repaint(scene_.Bounds(released));
    const bool record = released == pictures::kCardRecordDown;
    if (calc_.PowerOn && calc_.Running) {
        services_.Messages->Information(kSlotRunningRefusal);
    } else if (!card_.cardPresent) {
        services_.doPlaySound("s1u");
    } else if (!cycle_.CanStart(calc_)) {
        // Off or in a cycle: the key does nothing.
    } else if (record && card_.FacingProtected()) {
        services_.Messages->Information(card_.cardSide ? "Card A is write protected"
                                                       : "Card B is write protected");
    } else {
        StartCardCycle(record ? CardMode::Record : CardMode::Enter);
    }
    return true;
}

void CardSlot::StartCardCycle(CardMode mode) {
    if (!cycle_.CanStart(calc_)) return;
    cycle_.Start(mode);
    calc_.EndEntry();
    cardTimer_.start();
    calc_.BlankDisplay();
    window_.ShowKeyLabels(false);
    services_.doPlaySound("cfd");
}

void CardSlot::cardTimerTimer() {
    const CardCycle::Step step = cycle_.Tick(card_, calc_);
    if (step.Draw) {
        // The part of the card that has come in so far, its top end at row Top of the view.
        DrawPart(view_, QPoint(0, step.Top), cardBitmap_,
                 QRect(0, 0, layout::kCardView.Width, layout::kCardView.Height - step.Top));
        ShowView();
    }
    if (step.Finished) {
        cardTimer_.stop();
        InsertCard();
        window_.ShowKeyLabels(true);
    }
}

void CardSlot::EndCycle() {
    // What was transferred stays; the card comes to rest and the panel shows its labels and
    // display again.
    if (!Cycling()) return;
    cycle_.Stop();
    cardTimer_.stop();
    window_.ShowKeyLabels(true);
    if (card_.cardPresent) InsertCard();
    if (calc_.PowerOn) calc_.RefreshDisplay();
}

void CardSlot::PowerSwitched(bool on) {
    for (QAction* action : powerActions_)
        action->setEnabled(on);
    if (!on) EndCycle();
}

// ---- The menu -----------------------------------------------------------------------------------

bool CardSlot::AskUnsaved() {
    return !card_.cardModified ||
           services_.Messages->Confirm("Confirm:\r\rProgram has not been saved - Continue?") ==
               MessageAnswer::Yes;
}

bool CardSlot::RefusedWhileRunning() {
    if (!calc_.Running) return false;
    services_.Messages->Information(kSlotRunningRefusal);
    return true;
}

void CardSlot::NewProgramcard1Click() {
    if (RefusedWhileRunning() || !AskUnsaved()) return;
    EndCycle();
    ClearCard();
    InsertCard();
}

void CardSlot::SwapProgramcard1Click() {
    if (RefusedWhileRunning()) return;
    if (!card_.cardPresent) {
        services_.Messages->Information("A card is not in the reader slot");
        return;
    }
    EndCycle();
    card_.cardSide = !card_.cardSide;
    InsertCard();
}

void CardSlot::EjectProgramCard1Click() {
    if (RefusedWhileRunning() || !AskUnsaved()) return;
    EndCycle();
    ClearCard();
    window_.ShowKeyLabels(true);
    UpdateProtectMenu();
}

void CardSlot::LoadProgramCard1Click() {
    if (RefusedWhileRunning() || !SaveQuestion()) return;
    const QString path = services_.Files->OpenFile(
        {"Open Magnetic Card File", "*.mcf", "Program Card File (*.mcf);;All Files (*.*)", "mcf"},
        window_.Widget);
    if (path.isEmpty()) return;
    if (const OpenFailure failure = TakeCardFile(path); failure.Failed())
        services_.Messages->Error(failure.Text());
}

OpenFailure CardSlot::OpenCardFile(const QString& path) {
    if (calc_.Running) return {kSlotRunningRefusal, path, {}};
    return SaveQuestion() ? TakeCardFile(path) : OpenFailure{};
}

OpenFailure CardSlot::TakeCardFile(const QString& path) {
    lastLoadName_ = path;
    EndCycle();
    return ReadCardFile(path, true);
}

OpenFailure CardSlot::LoadFailure(CardLoad result, const QString& path) {
    if (result == CardLoad::Corrupt)
        return {QStringLiteral("ERROR: Program file data is corrupt"), path,
                QStringLiteral("not a magnetic card file, or a damaged one")};
    return ReadFailure(QStringLiteral("ERROR: Failed to open program file"), path,
                       kCardFileLimits.MaxBytes, QStringLiteral("it could not be read"));
}

void CardSlot::LoadCardFile(const QString& path, bool side) {
    if (const OpenFailure failure = ReadCardFile(path, side); failure.Failed())
        services_.Messages->Error(failure.Text());
}

OpenFailure CardSlot::ReadCardFile(const QString& path, bool side) {
    const CardLoad loaded = card_.LoadCardFile(NativePath(path), side);
    if (loaded != CardLoad::Loaded) return LoadFailure(loaded, path);
    UpdateCardCaption();
    InsertCard();
    return {};
}

void CardSlot::SaveProgramCard1Click() {
    if (RefusedWhileRunning()) return;
    // During a cycle the card comes to rest, with its new names, when the cycle ends.
    if (SaveCardAs() && !Cycling()) InsertCard();
}

bool CardSlot::EditCardNames() {
    QString a = FromBytes(card_.cardNameA), b = FromBytes(card_.cardNameB);
    if (!editNames_(a, b)) return false;
    card_.cardNameA = ToBytes(a);
    card_.cardNameB = ToBytes(b);
    return true;
}

bool CardSlot::SaveCardAs() {
    const QString start =
        QFile::exists(NativeToQString(card_.cardFileName)) ? lastLoadName_ : "*.mcf";
    const QString path = ChooseSaveFile(
        *services_.Files, *services_.Messages,
        {"Save Magnetic Card File", start, "Magnetic Card File (*.mcf);;All Files (*.*)", "mcf"},
        window_.Widget);
    if (path.isEmpty()) return false;
    if (!EditCardNames()) return false; // Cancel in the names dialog cancels the save
    if (!card_.SaveCardFile(NativePath(path))) {
        services_.Messages->Error("ERROR: Failed to save program file");
        return false;
    }
    UpdateCardCaption();
    return true;
}

void CardSlot::ToggleProtection(bool sideA) {
    if (RefusedWhileRunning()) {
        UpdateProtectMenu(); // the menu item's own check mark goes back
        return;
    }
    bool& protect = sideA ? card_.protectA : card_.protectB;
    protect = !protect;
    card_.cardModified = true;
    UpdateProtectMenu();
    // During a cycle the new face is drawn when the card comes to rest.
    if (!Cycling()) InsertCard();
}

bool CardSlot::SaveQuestion() {
    if (!card_.cardModified) return true;
    switch (services_.Messages->Confirm("Program Card has not been saved\r\rSave changes?",
                                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveCardAs();
    case MessageAnswer::No: return true;
    default: return false;
    }
}

// A card recorded and then switched off is as unsaved as one still in a powered slot.
bool CardSlot::CloseQuery() {
    return SaveQuestion();
}

std::vector<StateWrite> CardSlot::UnsavedCard() const {
    if (!card_.cardModified) return {};
    const TextList lines = card_.FileLines();
    return {{"card.mcf", [lines](const QString& path) {
                 return SaveScrambledTextList(NativePath(path), lines);
             }}};
}

} // namespace orrindale
