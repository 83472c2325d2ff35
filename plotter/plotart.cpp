#include "plotter/plotart.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "common/hpdata_qt.h"
#include "plotter/plottermodel.h"

namespace orrindale::plotart {

namespace {
const QColor kCase{214, 208, 192}, kCaseDark{120, 116, 104}, kStrip{70, 72, 76};
constexpr QImage::Format kArgb = QImage::Format_ARGB32_Premultiplied;
const QColor kMetal{178, 182, 188}, kLabel{236, 236, 228};

void Label(QPainter& p, QRect r, const char* text, int size = 7) {
    p.setPen(kLabel);
    p.setFont(QFont("Liberation Sans", size, QFont::Bold));
    p.drawText(r, Qt::AlignCenter, text);
}

// A switch slot with its knob at the left or right end.
void Switch(QPainter& p, QRect r, bool right) {
    p.setPen(Qt::black);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(r.adjusted(2, 9, -2, -9), 4, 4);
    p.setBrush(kMetal);
    const int x = right ? r.right() - 15 : r.left() + 2;
    p.drawRoundedRect(QRect(x, r.top() + 4, 14, r.height() - 8), 3, 3);
}
} // namespace

QColor PenColour(int penIndex) {
    return QColor::fromRgb(0xff000000u | plot::PenRgb(penIndex));
}

QImage Body(int scale) {
    QImage image = BlankPicture(kWidth, kHeight, scale, kArgb, kSkyBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Unsmoothed, a once-size pen covers the pixel right of and below its line. Scaled up, it
    // would straddle the line instead, and the case's outline would leave a line of sky inside
    // the window's outline (taken from the 1x picture) at the right and bottom.
    if (scale > 1) p.translate(0.5, 0.5);
    p.setPen(kCaseDark);
    p.setBrush(kCase);
    p.drawRoundedRect(QRect(5, 0, kWidth - 11, kHeight - 6), 12, 12);
    // The platen behind the paper and the rails of the arm.
    p.setBrush(QColor(90, 96, 90));
    p.drawRect(kPaper.adjusted(-8, -8, 8, 8));
    p.setBrush(kMetal);
    p.drawRect(QRect(50, 2, 700, 4));
    p.drawRect(QRect(50, 476, 700, 4));
    // The control strip.
    p.setBrush(kStrip);
    p.drawRoundedRect(QRect(20, 488, kWidth - 41, 80), 6, 6);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(kMoveStrip);
    Label(p, QRect(36, 494, 54, 12), "RELEASE");
    Label(p, QRect(98, 494, 44, 12), "HOLD");
    Label(p, QRect(650, 494, 60, 12), "STANDBY");
    Label(p, QRect(722, 494, 36, 12), "ON");
    Label(p, QRect(60, 558, 60, 10), "LINE", 6);
    Label(p, QRect(370, 554, 60, 12), "ERROR", 6);
    Label(p, QRect(370, 503, 57, 12), "PEN", 6);
    const char* knobs[] = {"X ZERO", "Y ZERO", "X GAIN", "Y GAIN"};
    for (int k = 0; k < 4; ++k)
        Label(p, QRect(kKnobPanels[k].left() - 20, 555, 77, 12), knobs[k], 6);
    Switch(p, kHoldLever, false);
    Switch(p, kOnLever, false);
    p.setBrush(QColor(60, 20, 20));
    p.drawEllipse(kPowerLamp);
    p.drawEllipse(kErrorLamp);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(kPenButton, 4, 4);
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(kPenButton.adjusted(6, 5, -6, -5));
    return image;
}

QImage Arm(bool penDown, int scale) {
    QImage image = BlankPicture(kArmWidth, kArmHeight, scale, kArgb);
    QPainter p(&image);
    p.setPen(QColor(80, 84, 90));
    p.setBrush(penDown ? QColor(150, 156, 164) : kMetal);
    p.drawRect(QRect(4, 0, kArmWidth - 9, kArmHeight - 1));
    p.drawLine(kArmWidth / 2, 4, kArmWidth / 2, kArmHeight - 5);
    return image;
}

QImage Holder(bool penDown, int penIndex, int scale) {
    QImage image = BlankPicture(kHolderWidth, kHolderHeight, scale, kArgb);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(60, 62, 66));
    p.drawRoundedRect(QRect(30, 2, 40, 30), 4, 4);
    const int lift = penDown ? 0 : kPenLift;
    if (!penDown) {
        // The raised pen's shadow where its tip would touch.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawEllipse(QRectF(kPenTip.x(), kPenTip.y() - 1.5, 22, 3));
        p.setPen(QColor(40, 40, 40));
    }
    // The pen, 26 wide, its tip on the holder's left edge.
    p.setBrush(PenColour(penIndex));
    const int y = kPenTip.y() - lift;
    p.drawRect(QRect(6, y - 4, 26, 8));
    QPainterPath tip;
    tip.moveTo(6, y - 4);
    tip.lineTo(kPenTip.x(), y);
    tip.lineTo(6, y + 4);
    p.drawPath(tip);
    return image;
}

QImage Lever(int scale) {
    // On the strip's colour, so the body's thumb at the other end does not show through.
    QImage image = BlankPicture(34, 28, scale, kArgb, kStrip);
    QPainter p(&image);
    Switch(p, QRect(0, 0, 34, 28), true);
    return image;
}

QImage Lamp(bool error, int scale) {
    const QRect r = error ? kErrorLamp : kPowerLamp;
    QImage image = BlankPicture(r.width(), r.height(), scale, kArgb);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(error ? QColor(255, 40, 30) : QColor(255, 190, 40));
    p.drawEllipse(QRect(QPoint(0, 0), r.size()));
    return image;
}

QImage Knob(int value, int scale) {
    QImage image = BlankPicture(kKnobSize, kKnobSize, scale, kArgb);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(kKnobSize / 2.0, kKnobSize / 2.0);
    p.rotate(360 - value);
    p.setPen(QColor(20, 20, 20));
    p.setBrush(QColor(50, 50, 54));
    p.drawEllipse(QPointF(0, 0), 17, 17);
    p.setPen(QPen(kLabel, 2));
    p.drawLine(QPointF(0, -6), QPointF(0, -15));
    return image;
}

QImage Handle(int value, int scale) {
    const QRect area = TurnHandle(1);
    QImage image = BlankPicture(area.width(), area.height(), scale, kArgb);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The wheel's edge seen through a slot in the strip: a dark cylinder, lit in its middle.
    const QRectF wheel(2.5, 1.5, area.width() - 5, area.height() - 3);
    QLinearGradient shade(0, wheel.top(), 0, wheel.bottom());
    shade.setColorAt(0, QColor(20, 20, 22));
    shade.setColorAt(0.5, QColor(86, 86, 92));
    shade.setColorAt(1, QColor(20, 20, 22));
    p.setPen(QColor(20, 20, 20));
    p.setBrush(shade);
    p.drawRoundedRect(wheel, 3, 3);
    // Ribs across it, light where the wheel faces the user; a knob turned by one degree moves
    // them by one pixel, as the drag does.
    constexpr int kRibStep = 4;
    const int shift = ((value % kRibStep) + kRibStep) % kRibStep;
    for (int y = static_cast<int>(wheel.top()) + 2 + shift; y < wheel.bottom() - 1; y += kRibStep) {
        const double facing = 1.0 - std::abs(y - wheel.center().y()) / (wheel.height() / 2);
        p.setPen(
            QPen(QColor(60 + static_cast<int>(150 * facing), 60 + static_cast<int>(150 * facing),
                        64 + static_cast<int>(150 * facing)),
                 1));
        p.drawLine(QPointF(wheel.left() + 2, y + 0.5), QPointF(wheel.right() - 2, y + 0.5));
    }
    return image;
}

} // namespace orrindale::plotart
