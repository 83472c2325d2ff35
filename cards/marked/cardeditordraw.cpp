// The editor's card picture and its printing, six cards a page.
#include <QListWidget>
#include <QPagedPaintDevice>
#include <QPainter>

#include "cards/marked/cardeditor.h"
#include "common/choosers.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"

namespace orrindale {

namespace {
constexpr int kCardsPerPage = 6;

QFont TahomaLike(int pixelSize) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// Text turned a quarter turn anticlockwise (read from bottom to top), on the card's colour,
// in a strip `length` long whose lower left corner is at (left, bottom).
void DrawTurned(QPainter& p, const QString& text, int left, int bottom, int length,
                const QColor& background) {
    QFont font("Liberation Sans"); // stands in for Arial
    font.setPointSize(5);
    font.setBold(true);
    const int height = QFontMetrics(font).height();
    p.save();
    p.translate(left, bottom);
    p.rotate(-90);
    const QRect strip(0, 0, length, height);
    p.fillRect(strip, background);
    p.setClipRect(strip);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}
} // namespace

void TprgCrdFM::DrawTitles(QPainter& p) const {
    const QColor paper = blankCard_.pixelColor(10, 10);
    const StackTitles& t = stack_.Titles;
    DrawTurned(p, FromBytes(t.Name), 16, 470, 200, paper);
    DrawTurned(p, FromBytes(t.Title), 3, 470, 200, paper);
    DrawTurned(p, FromBytes(t.Day), 3, 145, 12, paper);
    DrawTurned(p, FromBytes(t.Month), 3, 122, 12, paper);
    DrawTurned(p, FromBytes(t.Year), 20, 96, 20, paper);
}

QImage TprgCrdFM::DrawCard(bool titles, bool printMode) const {
    return DrawCardOver(blankCard_, titles, printMode);
}

QImage TprgCrdFM::DrawCardOver(const QImage& blank, bool titles, bool printMode) const {
    using namespace cardgrid;
    // A 2x blank keeps its device pixel ratio, so everything below is drawn in logical pixels.
    QImage image = blank.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter p(&image);
    const bool row29 = card_.Current >= 0 && stack_.Row29[static_cast<size_t>(card_.Current)];
    p.setFont(TahomaLike(10));
    const QFontMetrics metrics(p.font());
    for (int r = 0; r < kCardRows; ++r) {
        const int value = card_.Rows[static_cast<size_t>(r)];
        const int y = kRowY[static_cast<size_t>(r)];
        for (int column = 0; column < 7; ++column)
            if (value & ColumnBit(column))
                p.fillRect(kColumnX[static_cast<size_t>(column)], y + 1, kMarkWidth, 3, Qt::black);
        if (value >= 64 || (r == kRowWithMark && !row29)) continue;
        const QString code = QString::fromStdString(IntToOctal(value, 2));
        const QString mnemonic = QString::fromStdString(KeyMnemonic(KeyPosOf[value]));
        const int top = y - 4;
        p.setPen(r == card_.Row && !printMode ? Qt::red : Qt::black);
        p.drawText(kCodeCentreX - metrics.horizontalAdvance(code) / 2, top + metrics.ascent(),
                   code);
        p.setPen(Qt::black);
        p.drawText(kMnemonicCentreX - metrics.horizontalAdvance(mnemonic) / 2,
                   top + metrics.ascent(), mnemonic);
    }
    if (titles) DrawTitles(p);
    p.fillRect(QRect(QPoint(kBoxDrawLeft, kBoxDrawTop), QPoint(kBoxDrawRight, kBoxDrawBottom)),
               row29 ? QColor(Qt::black) : QColor(240, 225, 174));
    p.setFont(TahomaLike(13));
    const QString number = QString::number(card_.Current + 1);
    const QFontMetrics big(p.font());
    const QRect box(kNumberCentreX - big.horizontalAdvance(number) / 2 - 2, kNumberTop,
                    big.horizontalAdvance(number) + 4, big.height());
    p.fillRect(box, Qt::white);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, number);
    return image;
}

void TprgCrdFM::PrintClick() {
    const int used = stack_.UsedCount();
    if (used == 0) {
        services_.Messages->Information("There are no used cards to print");
        return;
    }
    const int pages = (used + kCardsPerPage - 1) / kCardsPerPage;
    if (pages > 1 &&
        services_.Messages->Confirm(QString::number(pages) +
                                    " pages will be printed\r\rContinue?") != MessageAnswer::Yes)
        return;
    const auto job = services_.Printers->Choose(QPageLayout::Portrait, this);
    if (!job) return;
    const int before = card_.Current;
    PrintCards(job->Device());
    // The card that was current before comes back, whatever happened.
    card_.Current = before;
    card_.Load(list_);
    cardsLB_->setCurrentRow(before);
    RefreshList();
    Redraw(true);
}

void TprgCrdFM::PrintCards(QPagedPaintDevice& printer) {
    QPainter p;
    if (!p.begin(&printer)) {
        services_.Messages->Error("ERROR: Printing failed");
        return;
    }
    const int a = printer.logicalDpiX();
    const int pageW = printer.width(), pageH = printer.height();
    const int w = (pageW - 2 * a) / 3;
    const int h = blankCard_.height() * w / blankCard_.width();
    const int xs[3] = {3 * a / 4, 3 * a / 4 + w + a / 4, 3 * a / 4 + 2 * w + 2 * (a / 4)};
    const int top = (pageH - 2 * h) / 3;
    const int ys[2] = {top, pageH - h - top};
    int place = 0;
    for (int card = 0; card < kStackCards; ++card) {
        if (!stack_.Used[static_cast<size_t>(card)]) continue;
        if (place == kCardsPerPage) {
            printer.newPage();
            place = 0;
        }
        card_.Current = card;
        card_.Load(list_);
        const QImage drawn =
            DrawCard(true, true).scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawImage(xs[place % 3], ys[place / 3], drawn);
        ++place;
    }
    p.end();
}

} // namespace orrindale
