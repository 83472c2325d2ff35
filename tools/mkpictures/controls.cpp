// The four slide switches with their printed words, and the decimal wheel.
#include <QLinearGradient>

#include "art.h"

namespace orrindale::art {

namespace {

using layout::SwitchSetting;

const QColor kDeckText(228, 224, 212);

// The left-hand setting of each switch, as printed on the deck.
bool IsLeftSetting(SwitchSetting setting) {
    return setting == SwitchSetting::Deg || setting == SwitchSetting::Float ||
           setting == SwitchSetting::Off || setting == SwitchSetting::Prgm;
}

// A switch's slot is centred on the area both of its lever pictures cover, so that either
// picture shows the whole knob whatever the panel shows beneath it.
QPointF SlotCentre(SwitchSetting setting) {
    const layout::Rect a = layout::Switch(setting).Lever;
    const layout::Rect b = layout::Switch(layout::Partner(setting)).Lever;
    const qreal left = std::max(a.Left, b.Left), right = std::min(a.Right(), b.Right());
    const qreal top = std::max(a.Top, b.Top), bottom = std::min(a.Bottom(), b.Bottom());
    return {(left + right) / 2, (top + bottom) / 2};
}

void DrawSwitch(QPainter& p, SwitchSetting shown) {
    const QPointF c = SlotCentre(shown);
    p.setPen(QPen(QColor(110, 110, 112), 1));
    p.setBrush(QColor(12, 12, 12));
    p.drawRoundedRect(QRectF(c.x() - 12.5, c.y() - 4.5, 25, 9), 4, 4);
    const qreal knobLeft = IsLeftSetting(shown) ? c.x() - 11 : c.x() + 1;
    const QRectF knob(knobLeft, c.y() - 6.5, 10, 13);
    QLinearGradient metal(knob.topLeft(), knob.topRight());
    metal.setColorAt(0, QColor(250, 248, 240));
    metal.setColorAt(0.5, QColor(206, 202, 192));
    metal.setColorAt(1, QColor(150, 146, 138));
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(metal);
    p.drawRoundedRect(knob, 2, 2);
    p.setPen(QPen(QColor(110, 106, 98), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(knob.left() + 2.5, knob.top() + 4 + i * 2.5),
                   QPointF(knob.right() - 2.5, knob.top() + 4 + i * 2.5));
}

void DrawSwitchWords(QPainter& p) {
    for (const layout::SwitchPlace& place : layout::kSwitches) {
        const layout::Rect area = place.LabelArea;
        DrawText(p, QRectF(area.Left - 2, area.Top, area.Width + 4, area.Height),
                 QString::fromLatin1(place.Label), PanelFont(10), kDeckText);
    }
}

void DrawWheelButton(QPainter& p, const layout::WheelButton& button, bool up) {
    const layout::Rect r = button.Area;
    const QRect face(r.Left + 2, r.Top + 2, r.Width - 4, r.Height - 6);
    DrawCap(p, face, CapStyle{QColor(190, 188, 180), QColor(30, 30, 30)}, false);
    DrawCapLegend(p, face, up ? QStringLiteral("\u25b2") : QStringLiteral("\u25bc"),
                  QColor(30, 30, 30), false);
}

void DrawWheel(QPainter& p, int digit) {
    DrawText(p, QRectF(636, 374, 60, 10), QStringLiteral("DECIMAL"), PanelFont(8), kDeckText);
    // The thumbwheel between its two buttons, lit from above.
    const QRectF wheel(663.5, 404.5, 23, 23);
    QLinearGradient drum(wheel.topLeft(), wheel.bottomLeft());
    drum.setColorAt(0, QColor(60, 60, 62));
    drum.setColorAt(0.35, QColor(170, 168, 160));
    drum.setColorAt(1, QColor(40, 40, 42));
    p.setPen(QPen(QColor(16, 16, 16), 1));
    p.setBrush(drum);
    p.drawRoundedRect(wheel, 3, 3);
    p.setPen(QPen(QColor(30, 30, 30, 160), 1));
    for (qreal y = wheel.top() + 3; y < wheel.bottom() - 1; y += 3)
        p.drawLine(QPointF(wheel.left() + 1, y), QPointF(wheel.right() - 1, y));
    const layout::Rect window = layout::kWheelDigit;
    p.setPen(QPen(QColor(150, 146, 138), 1));
    p.setBrush(QColor(8, 8, 8));
    p.drawRoundedRect(
        QRectF(window.Left + 0.5, window.Top + 0.5, window.Width - 1, window.Height - 1), 2, 2);
    DrawText(p, QRectF(window.Left, window.Top, window.Width, window.Height),
             QString::number(digit), PanelFont(14), QColor(246, 244, 236));
    DrawWheelButton(p, layout::kWheelUp, true);
    DrawWheelButton(p, layout::kWheelDown, false);
}

} // namespace

void DrawSwitchesAndWheel(QPainter& p, const PanelState& state) {
    DrawSwitchWords(p);
    DrawSwitch(p, state.Angle);
    DrawSwitch(p, state.Display);
    DrawSwitch(p, state.Power);
    DrawSwitch(p, state.Mode);
    DrawWheel(p, state.Wheel);
}

} // namespace orrindale::art
