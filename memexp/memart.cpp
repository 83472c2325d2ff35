#include "memexp/memart.h"

#include <QPainterPath>
#include <cstdint>

#include "common/hpdata_qt.h"

namespace orrindale::memart {

namespace {

using memlayout::Rect;

const QColor kCase(206, 200, 186), kPlate(58, 62, 66), kLabel(236, 232, 220);
const QColor kSlot(24, 24, 26), kChrome(214, 216, 220), kLampOff(92, 30, 28);

QRect Q(const Rect& r) {
    return QRect(r.Left, r.Top, r.Width, r.Height);
}

QFont Font(int pixels, bool bold) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void Label(QPainter& p, QRect box, const QString& text, int pixels = 10) {
    p.setFont(Font(pixels, true));
    p.setPen(kLabel);
    p.drawText(box, Qt::AlignCenter, text);
}

void DrawSlot(QPainter& p, const Rect& lever) {
    p.setPen(Qt::NoPen);
    p.setBrush(kPlate);
    p.drawRect(Q(lever));
    p.setBrush(kSlot);
    p.drawRoundedRect(QRectF(lever.Left + 9, lever.Top + 2, 10, lever.Height - 4), 4, 4);
}

void DrawHandle(QPainter& p, const Rect& lever, bool up) {
    const QPointF pivot(lever.Left + 14, lever.Top + lever.Height / 2.0);
    const QPointF tip(pivot.x(), up ? lever.Top + 4 : lever.Top + lever.Height - 4);
    p.setPen(QPen(kChrome, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, tip);
    QRadialGradient knob(tip, 6, tip - QPointF(2, 2));
    knob.setColorAt(0, Qt::white);
    knob.setColorAt(1, QColor(130, 132, 138));
    p.setPen(Qt::NoPen);
    p.setBrush(knob);
    p.drawEllipse(tip, 5.5, 5.5);
}

void DrawCase(QPainter& p) {
    using namespace memlayout;
    p.fillRect(0, 0, kPanelWidth, kPanelHeight, kCase);
    p.setPen(QPen(QColor(150, 144, 132), 2));
    p.drawRect(1, 1, kPanelWidth - 2, kPanelHeight - 2);
    // The grip by which the window is dragged.
    p.setPen(QColor(150, 144, 132));
    for (int x = kMoveStrip.Left + 2; x < kMoveStrip.Left + kMoveStrip.Width; x += 4)
        p.drawLine(x, kMoveStrip.Top + 2, x, kMoveStrip.Top + kMoveStrip.Height - 3);
    p.setFont(Font(11, true));
    p.setPen(QColor(60, 56, 50));
    p.drawText(QRect(190, 9, 196, 14), Qt::AlignRight | Qt::AlignVCenter,
               "hp  9101A EXTENDED MEMORY");
    p.setPen(Qt::NoPen);
    p.setBrush(kPlate);
    p.drawRoundedRect(QRect(12, 32, kPanelWidth - 24, kPanelHeight - 44), 6, 6);
}

} // namespace

void DrawLamp(QPainter& p, const Rect& lamp, bool lit) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(QColor(40, 40, 42));
    p.drawEllipse(QRectF(Q(lamp)).adjusted(1, 1, -1, -1));
    const QPointF centre = QRectF(Q(lamp)).center();
    QRadialGradient glass(centre, 6, centre - QPointF(2, 2));
    glass.setColorAt(0, lit ? QColor(255, 220, 200) : QColor(150, 60, 56));
    glass.setColorAt(0.5, lit ? QColor(255, 40, 24) : kLampOff);
    glass.setColorAt(1, lit ? QColor(190, 16, 10) : QColor(50, 14, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(centre, 5.5, 5.5);
}

void DrawLeverUp(QPainter& p, const Rect& lever) {
    p.setRenderHint(QPainter::Antialiasing);
    DrawSlot(p, lever);
    DrawHandle(p, lever, true);
}

QImage RenderPanel(int scale) {
    using namespace memlayout;
    QImage panel = BlankPicture(kPanelWidth, kPanelHeight, scale);
    QPainter p(&panel);
    p.setRenderHint(QPainter::Antialiasing);
    DrawCase(p);
    const std::pair<Rect, const char*> lamps[] = {
        {kOnLamp, "ON"}, {kFilLamp, "FIL"}, {kFmtLamp, "FMT"}};
    for (const auto& [lamp, name] : lamps) {
        DrawLamp(p, lamp, false);
        Label(p, QRect(lamp.Left - 12, lamp.Top + 17, lamp.Width + 24, 12), name, 9);
    }
    const std::pair<Rect, const char*> levers[] = {{kLineLever, "LINE"}, {kFilLever, "FIL"}};
    for (const auto& [lever, name] : levers) {
        DrawSlot(p, lever);
        DrawHandle(p, lever, false);
        Label(p, QRect(lever.Left - 52, lever.Top + 6, 48, 14), name, 11);
        Label(p, QRect(lever.Left + kCaptionLeft, lever.Top + kOnCaptionTop, 30, 11), "ON", 9);
        Label(p, QRect(lever.Left + kCaptionLeft, lever.Top + kOffCaptionTop, 30, 11), "OFF", 9);
    }
    Label(p, QRect(270, 84, 110, 14), "248 REGISTERS", 10);
    Label(p, QRect(270, 100, 110, 14), "3472 STEPS", 10);
    return panel;
}

QImage RenderCard(int scale) {
    using namespace memlayout;
    QImage card = BlankPicture(kCardWidth, kCardHeight, scale);
    card.fill(QColor(250, 248, 240));
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 120), 3));
    p.drawRect(6, 6, kCardWidth - 12, kCardHeight - 12);
    p.setPen(QColor(40, 70, 120));
    p.setFont(Font(17, true));
    p.drawText(QRect(0, 16, kCardWidth, 24), Qt::AlignCenter, "HP 9101A EXTENDED MEMORY");
    p.setFont(Font(12, false));
    p.drawText(QRect(0, 40, kCardWidth, 18), Qt::AlignCenter,
               "Key the register or program number into X, then FMT and the key.");
    const char* const operations[][2] = {
        {"FMT  Y\u2192( )", "store Y in register X"},
        {"FMT  \u03c0", "recall register X into X"},
        {"FMT  + \u2212 \u00d7 \u00f7", "register X (op) Y into register X"},
        {"FMT  SET FLAG", "protect the registers below X"},
        {"FMT  FMT", "store the program as program X"},
        {"FMT  GO TO", "call program X"},
        {"FMT  END", "return to the calling program"},
    };
    const char* const codes[][2] = {
        {"1.111111111 15", "register protected"}, {"2.222222222 15", "protected: result in Y"},
        {"3.333333333 15", "register not 0-247"}, {"4.444444444 15", "memory full"},
        {"5.555555555 14", "no END step"},        {"5.555555555 15", "program not protected"},
        {"6.666666666 15", "FIL switch is on"},   {"7.777777777 13", "more than 3 digits"},
        {"7.777777777 14", "bad program number"},
    };
    p.setFont(Font(13, true));
    p.drawText(24, 86, "OPERATIONS");
    p.drawText(24, 250, "RESULT CODES (shown in X)");
    p.setPen(QColor(30, 30, 30));
    int y = 106;
    for (const auto& row : operations) {
        p.setFont(Font(12, true));
        p.drawText(32, y, row[0]);
        p.setFont(Font(12, false));
        p.drawText(200, y, row[1]);
        y += 19;
    }
    y = 270;
    for (int i = 0; i < 9; ++i) {
        const int x = i < 5 ? 32 : 292;
        const int row = i < 5 ? i : i - 5;
        p.setFont(Font(12, true));
        p.drawText(x, y + row * 22, QString::number(i + 1) + "   " + codes[i][0]);
        p.setFont(Font(12, false));
        p.drawText(x + 130, y + row * 22, codes[i][1]);
    }
    return card;
}

std::string Bmp24(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int stride = (rgb.width() * 3 + 3) & ~3;
    const uint32_t size = 54 + static_cast<uint32_t>(stride * rgb.height());
    std::string bytes(54, '\0');
    auto put = [&bytes](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(rgb.width()), 4);
    put(22, static_cast<uint32_t>(rgb.height()), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, size - 54, 4);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < rgb.width(); ++x) {
            row[static_cast<size_t>(3 * x)] = static_cast<char>(line[3 * x + 2]);
            row[static_cast<size_t>(3 * x + 1)] = static_cast<char>(line[3 * x + 1]);
            row[static_cast<size_t>(3 * x + 2)] = static_cast<char>(line[3 * x]);
        }
        bytes += row;
    }
    return bytes;
}

} // namespace orrindale::memart
