#include "cards/marked/cardeditor.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

#include "cards/marked/cardreader.h"
#include "cards/marked/cardtitle.h"
#include "common/choosers.h"
#include "common/escapeclose.h"
#include "common/filedrop.h"
#include "common/fileopen.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"
#include "common/programfiles.h"

namespace orrindale {

namespace {
const char* const kStackFilter = "Card Stack File (*.ocf);;All Files (*.*)";
const char* const kTextFilter = "Text Files (*.txt);;All Files (*.*)";
constexpr int kToolbarHeight = 37, kPanelWidth = 320, kCardListWidth = 192, kInstWidth = 125;

// The card picture: reports where a mouse button was released.
class CardView final : public QLabel {
public:
    std::function<void(QPoint, MarkButton)> Released;
    using QLabel::QLabel;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (Released)
            Released(event->position().toPoint(),
                     event->button() == Qt::LeftButton ? MarkButton::Left : MarkButton::Other);
    }
};

// The stack made from a program text is proposed beside the text, under its name with ".ocf",
// so that a save never writes a stack over the user's listing.
QString StackNameOf(const QString& textPath) {
    const QFileInfo info(textPath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return info.dir().filePath((dot > 0 ? name.left(dot) : name) + ".ocf");
}

} // namespace

TprgCrdFM::TprgCrdFM(const Services& services, TCardStack& stack, QWidget* parent)
    : QDialog(parent), services_(services), stack_(stack) {
    EscapeCloser::Install(this);
    setWindowTitle("Marked Card Editor");
    setModal(true);
    BuildWindow();
    // Modal, the editor keeps the other windows from taking drops: a stack dropped on it opens
    // here and a listing is made into cards here, one file at a time; other files are refused,
    // since the windows they belong in could not be used before the editor closes.
    AcceptFileDrops(
        this, [](const QStringList& paths) { return TakesDrop(paths); },
        [this](const QStringList& paths) { OpenDropped(paths.front()); });
}

TprgCrdFM::~TprgCrdFM() = default;

void TprgCrdFM::BuildWindow() {
    auto* bar = new QToolBar(this);
    bar->setFixedHeight(kToolbarHeight);
    const struct {
        const char* text;
        const char* hint;
        void (TprgCrdFM::*slot)();
    } buttons[] = {
        {"New", "New card file", &TprgCrdFM::NewClick},
        {"Open", "Load card stack file", &TprgCrdFM::OpenClick},
        {"Text", "Load program text file", &TprgCrdFM::TextFileClick},
        {"Save", "Save card stack file", nullptr},
        {"Print", "Print card stack file", &TprgCrdFM::PrintClick},
        {"Erase", "Erase selected card", &TprgCrdFM::EraseClick},
        {"Titles", "Set card titles", &TprgCrdFM::TitlesClick},
        {"Copy", "Copy instruction list to clipboard", &TprgCrdFM::ClipboardClick},
    };
    for (const auto& b : buttons) {
        QAction* action = bar->addAction(b.text);
        action->setToolTip(b.hint);
        action->setObjectName(QString(b.text).toLower() + "SB");
        if (b.slot)
            connect(action, &QAction::triggered, this, b.slot);
        else
            connect(action, &QAction::triggered, this, [this] { SaveClick(); });
    }
    fileLabel_ = new QLabel("[..]", bar);
    bar->addWidget(fileLabel_);
    auto* view = new CardView(this);
    view->Released = [this](QPoint at, MarkButton button) { CardClick(at, button); };
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cardView_ = view;
    cardsLB_ = new QListWidget(this);
    cardsLB_->setObjectName("cardsLB");
    cardsLB_->setFixedWidth(kCardListWidth);
    cardsLB_->setToolTip("Double click to toggle card inclusion");
    for (int card = 1; card <= kStackCards; ++card)
        cardsLB_->addItem(QString());
    // The card shown follows the list's current card however it was chosen: a click, the
    // arrows, Page Up and Down, Home and End.
    connect(cardsLB_, &QListWidget::currentRowChanged, this, &TprgCrdFM::cardsLBClick);
    // A click on the card shown brings back its titles, which a click on a mark hides.
    connect(cardsLB_, &QListWidget::itemClicked, this, [this] { Redraw(true); });
    connect(cardsLB_, &QListWidget::itemDoubleClicked, this, [this] { cardsLBDblClick(); });
    instLB_ = new QListWidget(this);
    instLB_->setObjectName("instLB");
    instLB_->setFixedWidth(kInstWidth);
    instLB_->setToolTip("Double click instruction to enter at current card row");
    for (int pos = 1; pos <= kKeyCount; ++pos)
        instLB_->addItem(KeyNames[static_cast<size_t>(pos)]);
    connect(instLB_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { instLBDblClick(instLB_->row(item)); });
    auto* panel = new QHBoxLayout;
    panel->addWidget(cardsLB_);
    panel->addWidget(instLB_);
    auto* body = new QHBoxLayout;
    body->addWidget(cardView_, 0, Qt::AlignTop);
    body->addLayout(panel);
    auto* layout = new QVBoxLayout(this);
    // The window is exactly the toolbar and the card high; spacing would cut off the card's foot.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addLayout(body);
    RefreshList();
}

bool TprgCrdFM::LoadPicture() {
    if (!LoadScrambledBitmap(services_.ProgramFile(files::kCardEditorPicture), blankCard_))
        return false;
    sharpCard_ = LoadSharpPicture(services_.ProgramFile(files::kCardEditorPicture2x),
                                  blankCard_.size(), PictureScale(devicePixelRatioF()));
    return true;
}

void TprgCrdFM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstActivation_) return;
    firstActivation_ = false;
    if (!LoadPicture()) {
        services_.Messages->Error("ERROR: Could not load data file");
        QTimer::singleShot(0, this, [this] { QDialog::reject(); });
        return;
    }
    cardView_->setFixedSize(blankCard_.size());
    setFixedSize(blankCard_.width() + kPanelWidth, blankCard_.height() + kToolbarHeight);
    CentreOnScreen(*this);
    ResetStack();
}

void TprgCrdFM::ResetStack() {
    stack_.ClearStack(list_);
    fileName_.clear();
    card_ = MarkedCard{};
    modified_ = false;
    UpdateFileLabel();
    cardsLB_->setCurrentRow(0);
    RefreshList();
    card_.Load(list_);
    Redraw(true);
}

void TprgCrdFM::UpdateFileLabel() {
    fileLabel_->setText(fileName_.isEmpty()
                            ? QString("[..]")
                            : QString::fromStdString(FileTitle(ToBytes(fileName_))));
}

void TprgCrdFM::RefreshList() {
    for (int card = 0; card < kStackCards; ++card)
        cardsLB_->item(card)->setText(
            "Card: " + QString::fromStdString(PadIntLeft(card + 1, 2, '0')) +
            (stack_.Used[static_cast<size_t>(card)] ? " [Used]" : ""));
}

void TprgCrdFM::Redraw(bool titles) {
    if (blankCard_.isNull()) return;
    const QImage& blank = sharpCard_.isNull() ? blankCard_ : sharpCard_;
    cardView_->setPixmap(QPixmap::fromImage(DrawCardOver(blank, titles, false)));
}

bool TprgCrdFM::SaveQuestion() {
    if (!modified_) return true;
    switch (services_.Messages->Confirm("Program data has changed\r\rSave changes?",
                                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveClick();
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TprgCrdFM::reject() {
    if (SaveQuestion()) QDialog::reject();
}

void TprgCrdFM::NewClick() {
    if (SaveQuestion()) ResetStack();
}

void TprgCrdFM::MakeCurrent(int card) {
    card_.Current = card;
    card_.Row = 0;
    card_.Load(list_);
    cardsLB_->setCurrentRow(card);
}

void TprgCrdFM::AfterOpen(const QString& path) {
    // The card shown follows the list's selection: the first card that holds a line.
    int first = 0;
    while (first < kStackCards - 1 && list_[static_cast<size_t>(first)].empty())
        ++first;
    MakeCurrent(first);
    RefreshList();
    Redraw(true);
    fileName_ = path;
    UpdateFileLabel();
    modified_ = false;
}

void TprgCrdFM::OpenClick() {
    if (!SaveQuestion()) return;
    const QString path = services_.Files->OpenFile(
        {"Open Optical Card File", services_.ProgramFolder, kStackFilter, "ocf"}, this);
    if (!path.isEmpty()) OpenStack(path);
}

void TprgCrdFM::OpenStack(const QString& path) {
    if (stack_.LoadStackFile(NativePath(path), list_)) {
        AfterOpen(path);
        return;
    }
    services_.Messages->Error(StackFileFailure(path).Text());
    // The stack is empty now, and so is the card shown.
    card_.Load(list_);
    RefreshList();
    Redraw(true);
}

void TprgCrdFM::TextFileClick() {
    if (!SaveQuestion()) return;
    const QString path = services_.Files->OpenFile(
        {"Load Program File", services_.ProgramFolder, kTextFilter, "txt"}, this);
    if (!path.isEmpty()) MakeFromListing(path);
}

bool TprgCrdFM::TakesDrop(const QStringList& paths) {
    if (paths.size() != 1) return false;
    const FileKind kind = KindOfFile(paths.front());
    return kind == FileKind::CardStack || kind == FileKind::Listing;
}

void TprgCrdFM::OpenDropped(const QString& path) {
    if (!SaveQuestion()) return;
    if (KindOfFile(path) == FileKind::CardStack)
        OpenStack(path);
    else
        MakeFromListing(path);
}

void TprgCrdFM::MakeFromListing(const QString& path) {
    if (!readText_) return;
    const std::optional<std::vector<int>> codes = readText_(path, this);
    if (!codes) return;
    ResetStack();
    const std::vector<std::string> cards = CardsOfListing(*codes);
    for (size_t i = 0; i < cards.size(); ++i) {
        list_[i] = cards[i];
        stack_.Used[i] = true;
    }
    const std::string today = DateText(std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())));
    stack_.Titles = {"", FileTitle(ToBytes(path)), today.substr(0, 2), today.substr(3, 2),
                     today.substr(6, 4)};
    AfterOpen(StackNameOf(path));
}

QWidget* TprgCrdFM::Asker() {
    return isVisible() || !parentWidget() ? this : parentWidget();
}

bool TprgCrdFM::SaveAs(int cards) {
    const QString start = fileName_.isEmpty() ? services_.ProgramFolder + "*.csf" : fileName_;
    const QString path =
        ChooseSaveFile(*services_.Files, *services_.Messages,
                       {"Save Optical Card File", start, kStackFilter, "ocf"}, Asker());
    if (path.isEmpty()) return false;
    if (!stack_.SaveStackFile(NativePath(path), list_, cards)) {
        services_.Messages->Error("ERROR: Failed to save file");
        return false;
    }
    fileName_ = path;
    return true;
}

bool TprgCrdFM::SaveClick() {
    if (!SaveAs(kStackCards)) return false;
    modified_ = false;
    UpdateFileLabel();
    return true;
}

void TprgCrdFM::EraseClick() {
    if (card_.Current < 0) return;
    if (services_.Messages->Confirm("This will erase all marks on this card\r\rContinue") !=
        MessageAnswer::Yes)
        return;
    const size_t card = static_cast<size_t>(card_.Current);
    list_[card].clear();
    stack_.Used[card] = stack_.Row29[card] = false;
    RefreshList();
    card_.Rows = CardRows{};
    Redraw(false);
    modified_ = true;
}

bool TprgCrdFM::AskTitles(bool exportMode) {
    TtitleFM dialog(services_, Asker());
    const StackTitles& t = stack_.Titles;
    const bool dated = !t.Day.empty() || !t.Month.empty() || !t.Year.empty();
    const std::string date = dated ? t.Day + "/" + t.Month + "/" + t.Year : std::string();
    dialog.PutTitle(FromBytes(t.Name), FromBytes(t.Title), FromBytes(date));
    if (dialog.exec() != QDialog::Accepted) return false;
    QString name, title, dateText;
    dialog.GetTitle(name, title, dateText);
    const std::string d = ToBytes(dateText);
    auto part = [&d](size_t from, size_t count) {
        return from < d.size() ? d.substr(from, count) : std::string();
    };
    stack_.Titles = {ToBytes(name), ToBytes(title), part(0, 2), part(3, 2), part(6, 4)};
    if (!exportMode) {
        card_.Load(list_);
        Redraw(true);
    }
    return true;
}

bool TprgCrdFM::SaveCards(const std::vector<std::string>& cards) {
    const size_t count = std::min(cards.size(), static_cast<size_t>(kStackCards));
    for (size_t i = 0; i < count; ++i) {
        list_[i] = cards[i];
        stack_.Used[i] = true;
        stack_.Row29[i] = false;
    }
    return SaveAs(static_cast<int>(count));
}

void TprgCrdFM::ClipboardClick() {
    QString text;
    for (int pos = 1; pos <= kKeyCount; ++pos)
        text += QString(KeyNames[static_cast<size_t>(pos)]) + "\r\n";
    QGuiApplication::clipboard()->setText(text);
}

void TprgCrdFM::CardClick(QPoint at, MarkButton button) {
    if (card_.Current < 0) return;
    const CardHit hit = card_.Click(at.x(), at.y(), button, stack_, list_);
    if (hit != CardHit::None) {
        RefreshList();
        modified_ = true;
    }
    Redraw(false);
}

void TprgCrdFM::cardsLBClick(int card) {
    // MakeCurrent moves the list to the card it has made current already.
    if (card < 0 || card >= kStackCards || card == card_.Current) return;
    card_.Store(list_);
    MakeCurrent(card);
    RefreshList();
    Redraw(true);
}

void TprgCrdFM::cardsLBDblClick() {
    if (card_.Current < 0) return;
    const size_t card = static_cast<size_t>(card_.Current);
    stack_.Used[card] = !stack_.Used[card];
    RefreshList();
    modified_ = true;
}

void TprgCrdFM::instLBDblClick(int entry) {
    if (card_.Current < 0 || entry < 0 || entry >= kKeyCount) return;
    card_.EnterKey(entry + 1, stack_, list_);
    RefreshList();
    Redraw(false);
    modified_ = true;
}

} // namespace orrindale
