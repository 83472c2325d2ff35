#include "cards/marked/cardreader.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <tuple>

#include "cards/marked/readerart.h"
#include "common/choosers.h"
#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "engine/calculator.h"

namespace orrindale {

namespace {
constexpr int kCardTimerInterval = 50;
const char* const kStackFilter = "Card Stack File (*.ocf);;All Files (*.*)";
const QColor kSilver(192, 192, 192);
const QColor kAllRead(217, 149, 148);

// The picture with one colour made transparent.
QImage WithTransparent(const QImage& image, const QColor& key) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = key.rgb() | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] | 0xFF000000u) == k) row[x] = 0;
    }
    return out;
}
// The window's shape: every pixel of the picture that is not the key colour, row by row.
QRegion OutlineOf(const QImage& picture, const QColor& key) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb k = key.rgb();
    QRegion region;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            while (x < rgb.width() && row[x] == k)
                ++x;
            const int start = x;
            while (x < rgb.width() && row[x] != k)
                ++x;
            if (x > start) region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}
} // namespace

namespace {
int OverlapArea(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : both.width() * both.height();
}
} // namespace

QPoint ReaderPlace(const QRect& main, const std::vector<QRect>& keep, const QSize& reader,
                   const QRect& screen) {
    const int w = reader.width(), h = reader.height();
    const QRect kept = std::accumulate(keep.begin(), keep.end(), QRect(), std::bit_or<QRect>());
    // Beside, above and below the calculator, at the screen's edges and beside what must stay
    // in view; in this order of preference.
    const int xs[] = {main.left() - w,      main.right() + 1, main.left(),
                      main.right() + 1 - w, screen.left(),    screen.right() + 1 - w,
                      kept.left() - w,      kept.right() + 1};
    const int ys[] = {main.bottom() + 1 - h, main.top(),       main.top() - h,
                      main.bottom() + 1,     screen.top(),     screen.bottom() + 1 - h,
                      kept.top() - h,        kept.bottom() + 1};
    QPoint best;
    std::tuple<int, int, int> least{std::numeric_limits<int>::max(), 0, 0};
    for (int y : ys)
        for (int x : xs) {
            // On the screen wherever it fits there; a reader larger than the screen keeps its
            // top-left corner on it.
            const QPoint at(std::max(screen.left(), std::min(x, screen.right() + 1 - w)),
                            std::max(screen.top(), std::min(y, screen.bottom() + 1 - h)));
            const QRect place(at, reader);
            int hidden = 0;
            for (const QRect& r : keep)
                hidden += OverlapArea(place, r);
            // Then the place that had to be moved least to stay on the screen.
            const std::tuple<int, int, int> cost{hidden, OverlapArea(place, main),
                                                 (at - QPoint(x, y)).manhattanLength()};
            if (cost < least) {
                least = cost;
                best = at;
            }
        }
    return best;
}

TcardReadFM::TcardReadFM(const Services& services, Context context, QWidget* parent)
    : QWidget(parent), services_(services), context_(std::move(context)) {
    EscapeCloser::Install(this);
    setWindowTitle("Marked Card Reader");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    cardTimer_.setObjectName("cardTimer");
    cardTimer_.setInterval(kCardTimerInterval);
    connect(&cardTimer_, &QTimer::timeout, this, &TcardReadFM::cardTimerTimer);
    const int scale = PictureScale(devicePixelRatioF());
    pc1Image_ = WithTransparent(readerart::RenderMovingCard(scale), readerart::kSky);
    pc2Image_ = WithTransparent(readerart::RenderPile(scale), readerart::kSky);
    const QImage mask = readerart::RenderMask(scale);
    maskImage_ = WithTransparent(mask, mask.pixelColor(QPoint(126, 126) * scale));
    // The reader's lines start empty, so marks that another stack left would count cards that
    // hold nothing here and feed zeros into program memory: the reader starts with a clear
    // stack. Stacks reach the reader through their files.
    context_.Stack->ClearStack(list_);
    BuildControls();
}

TcardReadFM::~TcardReadFM() {
    StopCard();
}

void TcardReadFM::BuildControls() {
    feedButton_ = new QPushButton("Card Feed", this);
    feedButton_->setObjectName("cardFeedSB");
    feedButton_->setFlat(true);
    feedButton_->setToolTip("Feed a new card into reader");
    feedButton_->setStyleSheet("QPushButton { color: rgb(192, 192, 192); border: none; }");
    feedButton_->setFocusPolicy(Qt::NoFocus);
    connect(feedButton_, &QPushButton::clicked, this, &TcardReadFM::cardFeedClick);
    cardLabel_ = new QLabel(this);
    cardLabel_->setObjectName("cardLabel");
    cardLabel_->setAlignment(Qt::AlignCenter);
    popup_ = new QMenu(this);
    popup_->addAction("Load Stack", this, &TcardReadFM::LoadStackClick);
    popup_->addAction("Reset Stack", this, &TcardReadFM::ResetStackClick);
    popup_->addSeparator();
    popup_->addAction("Help", this, &TcardReadFM::HelpClick);
    popup_->addAction("Close  (Esc)", this, &QWidget::close);
    UpdateLabel();
}

bool TcardReadFM::LoadPicture() {
    QImage picture;
    if (!LoadScrambledPng(services_.ProgramFile(files::kCardReaderPicture), picture)) {
        released_ = true;
        if (context_.RequestRelease) context_.RequestRelease();
        return false;
    }
    const QImage sharp = LoadSharpPicture(services_.ProgramFile(files::kCardReaderPicture2x),
                                          picture.size(), PictureScale(devicePixelRatioF()));
    cardImage_ = WithTransparent(sharp.isNull() ? picture : sharp, readerart::kSky);
    // A hidden drag area takes the colour of what surrounds it in the picture.
    dragCover_ =
        picture.pixelColor(readerart::kDragArea.left() - 1, readerart::kDragArea.center().y());
    setFixedSize(picture.size());
    setMask(OutlineOf(picture, readerart::kSky));
    const int h = picture.height();
    feedButton_->setGeometry(readerart::kFeedButtonLeft, h - readerart::kFeedButtonFromBottom,
                             readerart::kFeedButtonWidth, readerart::kFeedButtonHeight);
    cardLabel_->setGeometry(picture.width() - readerart::kLabelRight - readerart::kLabelWidth,
                            h - readerart::kLabelBottom - readerart::kLabelHeight,
                            readerart::kLabelWidth, readerart::kLabelHeight);
    return true;
}

void TcardReadFM::UpdateLabel() {
    const int total = feed_.Total(*context_.Stack);
    const QColor colour = feed_.Count() < total ? kSilver : kAllRead;
    cardLabel_->setText(QString::number(feed_.Count()) + "/" + QString::number(total));
    cardLabel_->setStyleSheet(QString("QLabel { color: %1; }").arg(colour.name()));
}

void TcardReadFM::cardFeedClick() {
    Calculator& calc = *context_.Calc;
    using Check = MarkedCardFeed::FeedCheck;
    switch (feed_.Check(calc, *context_.Stack)) {
    case Check::ProgramRunning:
        services_.Messages->Information(
            "The card reader will not operate while a program is running");
        return;
    case Check::Ignored: return;
    case Check::AskRunMode:
        if (services_.Messages->Confirm("The calculator is in RUN mode\rThe card data will be "
                                        "executed as it is read\r\rContinue?") !=
            MessageAnswer::Yes)
            return;
        break;
    case Check::Ready: break;
    }
    feed_.Start(*context_.Stack, list_);
    services_.doPlaySound("cfd");
    pc1At_ = QPoint(static_cast<int>(MarkedCardFeed::kStartX),
                    static_cast<int>(MarkedCardFeed::kStartY));
    pc1Shown_ = true;
    dragShown_ = false;
    if (context_.SetDisplayHidden) context_.SetDisplayHidden(true);
    cardTimer_.start();
    update();
}

void TcardReadFM::cardTimerTimer() {
    const MarkedCardFeed::Step step = feed_.Tick(*context_.Calc);
    pc1At_ = QPoint(step.X, step.Y);
    if (step.MovePile && (pc2Shown_ || step.Finished)) pc2Top_ = step.PileTop;
    if (step.Finished || !feed_.Moving()) {
        cardTimer_.stop();
        pc1Shown_ = false;
        pc2Shown_ = true;
        dragShown_ = true;
        UpdateLabel();
        if (context_.SetDisplayHidden) context_.SetDisplayHidden(false);
    }
    update();
}

void TcardReadFM::StopCard() {
    const bool wasMoving = feed_.Moving();
    cardTimer_.stop();
    feed_.Reset();
    // A card stopped half way must not leave the calculator's display dark.
    if (wasMoving && context_.SetDisplayHidden) context_.SetDisplayHidden(false);
}

void TcardReadFM::LoadStackClick() {
    const QString path = services_.Files->OpenFile(
        {"Open Optical Card File", services_.ProgramFolder, kStackFilter, "ocf"}, this);
    if (!path.isEmpty()) LoadStack(path);
}

OpenFailure StackFileFailure(const QString& path) {
    return ReadFailure("ERROR: Program file data is corrupt", path, kStackFileLimits.MaxBytes,
                       "not a card stack file, or a damaged one");
}

void TcardReadFM::LoadStack(const QString& path) {
    if (const OpenFailure failure = OpenStack(path); failure.Failed())
        services_.Messages->Error(failure.Text());
}

OpenFailure TcardReadFM::OpenStack(const QString& path) {
    const bool loaded = context_.Stack->LoadStackFile(NativePath(path), list_);
    // A new stack, or the empty one a corrupt file leaves, starts at its first card.
    ResetStackClick();
    return loaded ? OpenFailure{} : StackFileFailure(path);
}

void TcardReadFM::ResetStackClick() {
    StopCard();
    pc1Shown_ = pc2Shown_ = false;
    dragShown_ = true;
    UpdateLabel();
    update();
}

void TcardReadFM::HelpClick() {
    services_.OpenDocument(files::kCardHelpDocument);
}

void TcardReadFM::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, cardImage_);
    if (!dragShown_) p.fillRect(readerart::kDragArea, dragCover_);
    if (pc2Shown_) p.drawImage(MarkedCardFeed::kPileLeft, pc2Top_, pc2Image_);
    if (pc1Shown_) p.drawImage(pc1At_, pc1Image_);
    p.drawImage(readerart::kMask.topLeft(), maskImage_);
}

void TcardReadFM::contextMenuEvent(QContextMenuEvent* event) {
    popup_->popup(event->globalPos());
}

void TcardReadFM::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragShown_ ||
        !readerart::kDragArea.contains(event->position().toPoint()))
        return;
    dragging_ = true;
    dragStart_ = event->globalPosition().toPoint() - pos();
    setCursor(Qt::ClosedHandCursor);
}

void TcardReadFM::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) move(event->globalPosition().toPoint() - dragStart_);
}

void TcardReadFM::mouseReleaseEvent(QMouseEvent*) {
    if (!dragging_) return;
    dragging_ = false;
    unsetCursor();
    if (services_.Bounds) services_.Bounds->SetMainBounds(x(), width(), y());
}

void TcardReadFM::closeEvent(QCloseEvent* event) {
    StopCard();
    context_.Stack->ClearStack(list_);
    event->accept();
    if (!released_) {
        released_ = true;
        if (context_.RequestRelease) context_.RequestRelease();
    }
}

} // namespace orrindale
