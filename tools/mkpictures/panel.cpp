// The calculator's front: case, printer, display, card slot, switches and wheel, and the cut-out
// against the sky-blue surround.
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include "art.h"

namespace orrindale::art {

namespace {

using layout::SwitchSetting;

const QColor kCaseTop(226, 221, 208);
const QColor kCaseFront(212, 206, 192);
const QColor kCaseLip(158, 151, 138);
const QColor kOutline(92, 88, 80);
const QColor kDeck(56, 56, 58);
const QColor kPrinterTop(218, 213, 200);
const QColor kPrinterFace(184, 178, 165);
const QColor kPrintedText(70, 66, 60);
const QColor kDeckText(226, 222, 210);

// The case widens towards the viewer like the keyboard rows do.
const QPolygonF kCase({{80, 168}, {666, 168}, {732, 494}, {8, 494}});
const QPolygonF kPrinter({{208, 1}, {596, 1}, {618, 136}, {620, 178}, {180, 178}, {182, 136}});
const QPolygonF kDeckShape({{86, 333}, {682, 333}, {712, 482}, {55, 482}});

QPainterPath RoundedPolygon(const QPolygonF& corners, qreal radius) {
    QPainterPath path;
    const int n = static_cast<int>(corners.size());
    for (int i = 0; i < n; ++i) {
        const QPointF at = corners[i], before = corners[(i + n - 1) % n],
                      after = corners[(i + 1) % n];
        const QLineF in(at, before), out(at, after);
        const qreal r1 = std::min(radius, in.length() / 2), r2 = std::min(radius, out.length() / 2);
        const QPointF start = in.pointAt(r1 / in.length()), end = out.pointAt(r2 / out.length());
        if (i == 0)
            path.moveTo(start);
        else
            path.lineTo(start);
        path.quadTo(at, end);
    }
    path.closeSubpath();
    return path;
}

QPainterPath Outline() {
    return RoundedPolygon(kCase, 10).united(RoundedPolygon(kPrinter, 7));
}

// x of the case's left and right edges at height y.
qreal CaseLeft(qreal y) {
    return 8 + (494 - y) * (72.0 / 326);
}
qreal CaseRight(qreal y) {
    return 732 - (494 - y) * (66.0 / 326);
}

void DrawCase(QPainter& p) {
    p.setPen(Qt::NoPen);
    QLinearGradient body(0, 168, 0, 494);
    body.setColorAt(0, kCaseTop);
    body.setColorAt(0.14, kCaseTop);
    body.setColorAt(0.145, Shade(kCaseFront, 104));
    body.setColorAt(1, Shade(kCaseFront, 94));
    p.setBrush(body);
    p.drawPath(RoundedPolygon(kCase, 10).translated(0, 0));
    // The crease between the flat top cover and the sloping front.
    p.setPen(QPen(Shade(kCaseTop, 104), 1));
    p.drawLine(QPointF(CaseLeft(213.5) + 3, 213.5), QPointF(CaseRight(213.5) - 3, 213.5));
    p.setPen(QPen(Shade(kCaseFront, 86), 1));
    p.drawLine(QPointF(CaseLeft(215.5) + 3, 215.5), QPointF(CaseRight(215.5) - 3, 215.5));
    // The cabinet's front face below the keyboard.
    QLinearGradient lip(0, 484, 0, 494);
    lip.setColorAt(0, Shade(kCaseLip, 115));
    lip.setColorAt(1, Shade(kCaseLip, 85));
    p.setPen(Qt::NoPen);
    p.setBrush(lip);
    p.drawPath(RoundedPolygon(QPolygonF({{CaseLeft(486), 486},
                                         {CaseRight(486), 486},
                                         {CaseRight(494) - 1, 494},
                                         {CaseLeft(494) + 1, 494}}),
                              4));
    // The printer's shadow on the top cover.
    QLinearGradient shadow(0, 178, 0, 190);
    shadow.setColorAt(0, QColor(0, 0, 0, 70));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawRoundedRect(QRectF(176, 176, 448, 14), 4, 4);
}

void DrawBrand(QPainter& p) {
    DrawText(p, QRectF(96, 220, 110, 12), QStringLiteral("hewlett \u00b7 packard"),
             PanelFont(10, false), kPrintedText, Qt::AlignLeft | Qt::AlignVCenter);
    QFont model = PanelFont(18);
    model.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    DrawText(p, QRectF(95, 229, 100, 20), QStringLiteral("9100B"), model, QColor(52, 50, 46),
             Qt::AlignLeft | Qt::AlignVCenter);
}

void DrawLens(QPainter& p, const QRectF& lens, const QColor& lit, bool on, qreal radius) {
    QRadialGradient glow(lens.center(), std::max(lens.width(), lens.height()) * 0.6);
    if (on) {
        glow.setColorAt(0, Shade(lit, 140));
        glow.setColorAt(0.6, lit);
        glow.setColorAt(1, Shade(lit, 70));
    } else {
        glow.setColorAt(0, Shade(lit, 42));
        glow.setColorAt(1, Shade(lit, 22));
    }
    p.setPen(QPen(QColor(14, 14, 14), 1));
    p.setBrush(glow);
    p.drawRoundedRect(lens.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, on ? 120 : 40));
    p.drawRoundedRect(QRectF(lens.left() + 2, lens.top() + 2, lens.width() - 4, 2), 1, 1);
}

void DrawDisplayArea(QPainter& p, const PanelState& state) {
    // Bezel: a dark hood with a bright rim, the tube's window and the power lamp.
    p.setPen(QPen(QColor(150, 146, 138), 1));
    p.setBrush(QColor(30, 30, 32));
    p.drawRoundedRect(QRectF(192.5, 221.5, 212, 82), 7, 7);
    p.setPen(QPen(QColor(10, 10, 10), 1));
    p.setBrush(QColor(6, 10, 8));
    p.drawRoundedRect(QRectF(201.5, 229.5, 184, 66), 4, 4);
    DrawLens(p, QRectF(layout::kDisplayLamp.Left, layout::kDisplayLamp.Top, 10, 10),
             QColor(90, 230, 110), state.DisplayLamp, 5);
    // Error lamp in its own housing, left of the display.
    p.setPen(QPen(QColor(140, 136, 128), 1));
    p.setBrush(QColor(36, 34, 34));
    p.drawRoundedRect(QRectF(126.5, 251.5, 45, 25), 4, 4);
    const layout::Rect lamp = layout::kErrorLamp;
    DrawLens(p, QRectF(lamp.Left, lamp.Top, lamp.Width, lamp.Height), QColor(235, 50, 36),
             state.ErrorLamp, 2);
    DrawText(p, QRectF(120, 278, 58, 10), QStringLiteral("OVERFLOW"), PanelFont(8), kPrintedText);
}

void DrawFlatKey(QPainter& p, const layout::Box& area, const QString& legend, bool down,
                 const CapStyle& style) {
    // One row down from the area's top: the record key's pressed picture starts there.
    const QRect face(area.X1, area.Y1 + 1, area.X2 - area.X1 + 1, area.Y2 - area.Y1);
    DrawCap(p, face, style, down);
    if (!legend.isEmpty()) DrawCapLegend(p, face, legend, style.Legend, down);
}

void DrawCardArea(QPainter& p, const PanelState& state) {
    // A smoked window over the reader holds the two help labels and the card side label.
    p.setPen(QPen(QColor(150, 146, 138), 1));
    p.setBrush(QColor(24, 24, 26));
    p.drawRoundedRect(QRectF(466.5, 223.5, 163, 81), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    p.drawRect(QRectF(layout::kKeyNameLabel.Left, layout::kKeyNameLabel.Top, 146, 33));
    DrawText(p, QRectF(470, 228, 155, 12), QStringLiteral("PROGRAM  CARD"), PanelFont(9),
             QColor(170, 166, 156));
    // The slot the card is drawn into, between its two keys.
    p.setPen(QPen(QColor(235, 232, 224), 1));
    p.setBrush(QColor(4, 4, 4));
    p.drawRoundedRect(QRectF(495.5, 306.5, 92, 4), 2, 2);
    const CapStyle cardKey{QColor(200, 198, 190), QColor(30, 30, 30)};
    DrawFlatKey(p, layout::kCardRecordArea, QString(), state.RecordDown, cardKey);
    DrawFlatKey(p, layout::kCardEnterArea, QString(), state.EnterDown, cardKey);
    DrawText(p, QRectF(455, 322, 40, 10), QStringLiteral("RECORD"), PanelFont(8), kPrintedText);
    DrawText(p, QRectF(585, 322, 40, 10), QStringLiteral("ENTER"), PanelFont(8), kPrintedText);
}

void DrawDeck(QPainter& p) {
    p.setPen(QPen(QColor(30, 30, 30), 1));
    QLinearGradient deck(0, 333, 0, 482);
    deck.setColorAt(0, Shade(kDeck, 112));
    deck.setColorAt(1, Shade(kDeck, 92));
    p.setBrush(deck);
    p.drawPath(RoundedPolygon(kDeckShape, 6));
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(92, 334.5), QPointF(676, 334.5));
}

} // namespace

void DrawSwitchesAndWheel(QPainter& p, const PanelState& state);
void DrawPrinter(QPainter& p, const PanelState& state);

QImage Crop(const QImage& panel, const layout::Rect& rect) {
    const int s = static_cast<int>(panel.devicePixelRatio());
    return panel.copy(rect.Left * s, rect.Top * s, rect.Width * s, rect.Height * s);
}

QImage RenderPanel(const PanelState& state, int scale) {
    // The same drawing at any scale: coordinates stay those of the 1x picture, so a 2x picture
    // has twice the pixels for every edge and letter rather than bigger pixels.
    QImage layer(layout::kPanelWidth * scale, layout::kPanelHeight * scale, QImage::Format_RGB32);
    layer.fill(kOutline);
    {
        QPainter p(&layer);
        p.scale(scale, scale);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawCase(p);
        DrawPrinter(p, state);
        DrawBrand(p);
        DrawDisplayArea(p, state);
        DrawCardArea(p, state);
        DrawDeck(p);
        DrawSwitchesAndWheel(p, state);
        DrawKeys(p, state.PressedKey);
    }
    // The outline is filled without antialiasing: the window mask takes every sky-blue pixel
    // as outside, so no edge pixel may be a blend of the case and the sky.
    QImage inside(layer.size(), QImage::Format_RGB32);
    inside.fill(Qt::black);
    {
        QPainter p(&inside);
        p.scale(scale, scale);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(Outline().translated(0.5, 0.5));
    }
    const QRgb sky = kSky.rgb(), nearSky = qRgb(layout::kSkyRed, layout::kSkyGreen, 239);
    QImage panel(layer.size(), QImage::Format_RGB32);
    for (int y = 0; y < panel.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        const QRgb* mask = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(panel.scanLine(y));
        for (int x = 0; x < panel.width(); ++x) {
            const QRgb colour = qRed(mask[x]) != 0 ? from[x] : sky;
            to[x] = (qRed(mask[x]) != 0 && colour == sky) ? nearSky : colour;
        }
    }
    panel.setDevicePixelRatio(scale);
    return panel;
}

} // namespace orrindale::art
