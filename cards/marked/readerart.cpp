#include "cards/marked/readerart.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

#include "cards/marked/markedcard.h"
#include "common/hpdata_qt.h"

namespace orrindale {

namespace {
const QColor kHousing(78, 80, 86);
const QColor kHousingTop(112, 115, 122);
const QColor kTray(52, 54, 58);
const QColor kCardCream(243, 233, 200);
const QColor kMarkBox(196, 92, 84);

QFont SansFont(int pixelSize, bool bold) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A card seen from above, shrunk: cream with rows of faint mark boxes.
void PaintSmallCard(QPainter& p, const QRect& r) {
    p.fillRect(r, kCardCream);
    p.setPen(QColor(150, 140, 110));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(kMarkBox);
    for (int column = 0; column < 7; ++column)
        for (int row = 0; row < 9; ++row)
            p.drawRect(r.left() + 120 + column * 13, r.top() + 6 + row * 7, 8, 3);
    p.setPen(QColor(60, 60, 60));
    p.setFont(SansFont(9, true));
    p.drawText(QRect(r.left() + 8, r.top() + 6, 100, 14), Qt::AlignLeft, "HP 9100B");
    p.setFont(SansFont(7, false));
    p.drawText(QRect(r.left() + 8, r.top() + 22, 100, 12), Qt::AlignLeft, "PROGRAM CARD");
}
} // namespace

namespace readerart {

QImage RenderReader(int scale) {
    QImage image = BlankPicture(kWidth, kHeight, scale);
    image.fill(kSky);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // One case holds everything: the head's body at the upper left and, wider below it, the
    // feed tray reaching to the right, whose hopper and plates must stand inside the case's
    // outline. Both come down to the bottom edge, so that the button and the count label stand
    // on them.
    p.setBrush(kHousing);
    p.drawRoundedRect(QRect(8, 12, 290, kHeight - 14), 10, 10);
    p.drawRoundedRect(QRect(8, 130, kWidth - 10, kHeight - 132), 10, 10);
    p.setBrush(kHousingTop);
    p.drawRoundedRect(QRect(118, 136, kWidth - 126, kHeight - 140), 6, 6);
    p.drawRoundedRect(QRect(14, 18, 278, 160), 8, 8);
    // The stacker where read cards come to rest.
    p.setBrush(kTray);
    p.drawRect(QRect(30, 36, 234, 92));
    p.setBrush(kTray.darker(120));
    p.drawRect(QRect(124, 140, 230, 82));
    // Dark plates behind the button's and the label's silver text.
    p.setBrush(kTray);
    p.drawRoundedRect(kFeedButton.adjusted(-2, -1, 2, 1), 4, 4);
    p.drawRoundedRect(kLabel.adjusted(-3, -2, 3, 2), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(kDragArea, kDragColour);
    p.setPen(QColor(170, 160, 150));
    for (int x = kDragArea.left() + 4; x < kDragArea.right() - 2; x += 4)
        p.drawLine(x, kDragArea.top() + 3, x, kDragArea.bottom() - 3);
    p.setPen(QColor(200, 200, 205));
    p.setFont(SansFont(10, true));
    p.drawText(QRect(20, 186, 160, 14), Qt::AlignLeft, "HP 9160A  CARD READER");
    return image;
}

QImage RenderMovingCard(int scale) {
    QImage image = BlankPicture(kCardWidth, kCardHeight, scale);
    image.fill(kSky);
    QPainter p(&image);
    PaintSmallCard(p, QRect(0, 0, kCardWidth, kCardHeight));
    return image;
}

QImage RenderPile(int scale) {
    QImage image = RenderMovingCard(scale);
    QPainter p(&image);
    // The edges of the cards below show along the bottom.
    p.setPen(QColor(170, 160, 130));
    p.drawLine(0, kCardHeight - 2, kCardWidth - 1, kCardHeight - 2);
    return image;
}

QImage RenderMask(int scale) {
    QImage image = BlankPicture(kMask.width(), kMask.height(), scale);
    image.fill(kMaskKey);
    QPainter p(&image);
    // The lid over the reading head, square to the card's way.
    const QPolygon lid({QPoint(150, 0), QPoint(251, 0), QPoint(251, 30), QPoint(60, 147)});
    p.setPen(Qt::NoPen);
    p.setBrush(kHousing);
    p.drawPolygon(lid);
    p.setPen(QPen(kHousingTop.lighter(130), 2));
    p.drawLine(150, 0, 60, 147);
    return image;
}

} // namespace readerart

namespace cardart {

QImage RenderBlankCard(int scale) {
    using namespace cardgrid;
    QImage image = BlankPicture(kCardWidth, kCardHeight, scale, QImage::Format_RGB888);
    image.fill(kCardCream);
    QPainter p(&image);
    p.setPen(QColor(120, 110, 90));
    p.drawRect(0, 0, kCardWidth - 1, kCardHeight - 1);
    p.setPen(QColor(40, 40, 40));
    p.setFont(SansFont(12, true));
    p.drawText(QRect(40, 4, 180, 18), Qt::AlignCenter, "HP 9100B PROGRAM CARD");
    p.fillRect(QRect(kNumberCentreX - 18, kNumberTop - 1, 36, 18), Qt::white);
    p.setFont(SansFont(8, true));
    for (size_t c = 0; c < kColumnX.size(); ++c)
        p.drawText(QRect(kColumnX[c] - 4, kRowY[0] - 16, kMarkWidth + 8, 10), Qt::AlignCenter,
                   QString::number(ColumnBit(static_cast<int>(c))));
    // The headings stand over the mnemonic and code columns, narrow enough to end before the
    // first mark column.
    p.setFont(SansFont(7, true));
    p.drawText(QRect(kMnemonicCentreX - 15, kRowY[0] - 16, 30, 10), Qt::AlignCenter, "KEY");
    p.drawText(QRect(kCodeCentreX - 13, kRowY[0] - 16, 26, 10), Qt::AlignCenter, "CODE");
    p.setFont(SansFont(7, false));
    for (int r = 0; r < kCardRows; ++r) {
        const int y = kRowY[static_cast<size_t>(r)];
        p.setPen(kMarkBox);
        for (int x : kColumnX)
            p.drawRect(x, y, kMarkWidth - 1, kMarkHeight - 1);
        p.setPen(QColor(90, 90, 90));
        p.drawText(QRect(236, y - 2, 22, 10), Qt::AlignCenter, QString::number(r + 1));
    }
    p.setPen(QColor(40, 40, 40));
    p.drawRect(kBoxDrawLeft - 2, kBoxDrawTop - 3, kBoxDrawRight - kBoxDrawLeft + 4, 9);
    p.drawText(QRect(176, kBoxTop - 1, 54, 10), Qt::AlignRight, "ROW 29");
    // The title strip along the left edge, where name, title and date are written.
    // Its caption stands whole between the strip's foot and the card's lower edge.
    p.setPen(QColor(170, 160, 130));
    p.drawLine(26, 60, 26, 469);
    p.setPen(QColor(110, 100, 80));
    p.drawText(QRect(3, kCardHeight - 11, 120, 9), Qt::AlignLeft | Qt::AlignBottom,
               "NAME  TITLE  DATE");
    return image;
}

} // namespace cardart

} // namespace orrindale
