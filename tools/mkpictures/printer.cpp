// The strip printer on top of the case: paper bay with tear bar, feed button, grille and the
// five print buttons on its front.
#include <QLinearGradient>
#include <QPainterPath>

#include "art.h"

namespace orrindale::art {

namespace {

const QColor kPrinterTop(220, 215, 202);
const QColor kPrinterFace(182, 176, 163);
const QColor kRecess(86, 86, 88);
const QColor kLabel(70, 66, 60);

QPainterPath Rounded(const QPolygonF& corners, qreal radius) {
    // Corners rounded at the back only; the front edges meet the face squarely.
    QPainterPath path;
    path.moveTo(corners[0] + QPointF(0, radius));
    path.quadTo(corners[0], corners[0] + QPointF(radius, 0));
    path.lineTo(corners[1] - QPointF(radius, 0));
    path.quadTo(corners[1], corners[1] + QPointF(radius * 0.2, radius));
    for (int i = 2; i < corners.size(); ++i)
        path.lineTo(corners[i]);
    path.closeSubpath();
    return path;
}

void DrawBody(QPainter& p) {
    p.setPen(Qt::NoPen);
    QLinearGradient top(0, 1, 0, 136);
    top.setColorAt(0, Shade(kPrinterTop, 96));
    top.setColorAt(1, Shade(kPrinterTop, 104));
    p.setBrush(top);
    p.drawPath(Rounded(QPolygonF({{208, 1}, {596, 1}, {618, 137}, {182, 137}}), 7));
    QLinearGradient face(0, 136, 0, 178);
    face.setColorAt(0, Shade(kPrinterFace, 108));
    face.setColorAt(1, Shade(kPrinterFace, 90));
    p.setBrush(face);
    p.drawPolygon(QPolygonF({{182, 137}, {618, 137}, {620, 178}, {180, 178}}));
    p.setPen(QPen(Shade(kPrinterTop, 112), 1));
    p.drawLine(QPointF(183, 136.5), QPointF(617, 136.5));
}

// The paper picture is cut from here, and the printer scrolls its rows: the strip of paper is
// flat white and the recess around it one flat colour, so that scrolled rows fit in anywhere.
void DrawPaperBay(QPainter& p) {
    const layout::Rect paper = layout::kPaper;
    p.fillRect(QRect(paper.Left - 4, 1, paper.Width + 8, paper.Height + 3), QColor(52, 52, 54));
    p.fillRect(QRect(paper.Left, 1, paper.Width, paper.Height - 1), kRecess);
    const int top = layout::kPaperTopAtReset;
    // The strip is as wide as the picture and white: fed paper comes up white from below.
    p.fillRect(QRect(paper.Left, top, paper.Width, paper.Bottom() - top), Qt::white);
    // The slot the paper comes out of, below the printing window.
    p.fillRect(QRect(paper.Left - 4, paper.Bottom(), paper.Width + 8, 4), QColor(28, 28, 30));
    const layout::Rect bar = layout::kPlaten;
    p.fillRect(QRect(bar.Left, bar.Top, bar.Width, 1), QColor(214, 214, 218));
    p.fillRect(QRect(bar.Left, bar.Top + 1, bar.Width, 1), QColor(118, 118, 124));
}

void DrawGrille(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const qreal y = 34 + i * 8;
        p.setBrush(QColor(150, 145, 134));
        p.drawRoundedRect(QRectF(446 - i * 0.6, y, 132 + i * 1.4, 3), 1.5, 1.5);
        p.setBrush(QColor(60, 58, 54));
        p.drawRoundedRect(QRectF(446 - i * 0.6, y, 132 + i * 1.4, 2), 1, 1);
    }
}

void DrawNameplate(QPainter& p) {
    p.setPen(QPen(QColor(120, 116, 106), 1));
    p.setBrush(QColor(44, 44, 46));
    p.drawRoundedRect(QRectF(200.5, 145.5, 22, 16), 3, 3);
    DrawText(p, QRectF(200, 145, 23, 16), QStringLiteral("hp"), PanelFont(12), Qt::white);
    DrawText(p, QRectF(230, 142, 140, 12), QStringLiteral("9120A  PRINTER"), PanelFont(10), kLabel,
             Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(230, 154, 160, 10), QStringLiteral("HEWLETT \u00b7 PACKARD"),
             PanelFont(8, false), kLabel, Qt::AlignLeft | Qt::AlignVCenter);
}

void DrawPrinterKey(QPainter& p, const layout::Box& area, int faceHeight, const QString& legend,
                    const CapStyle& style, bool down) {
    // Two columns in from the area's sides: some pressed pictures start or end right there,
    // and the cap's antialiased edge must stay inside them, clear of their outermost pixels.
    const QRect face(area.X1 + 2, area.Y1, area.X2 - area.X1 - 3, faceHeight);
    DrawCap(p, face, style, down);
    DrawCapLegend(p, face, legend, style.Legend, down);
}

} // namespace

void DrawPrinter(QPainter& p, const PanelState& state) {
    DrawBody(p);
    DrawPaperBay(p);
    DrawGrille(p);
    DrawNameplate(p);
    const CapStyle feed{QColor(204, 200, 190), QColor(40, 38, 34)};
    DrawPrinterKey(p, layout::kFeedArea, 14, QStringLiteral("\u25b2"), feed, state.FeedDown);
    DrawText(p, QRectF(384, 68, 50, 9), QStringLiteral("PAPER"), PanelFont(8), kLabel,
             Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(384, 77, 50, 9), QStringLiteral("ADVANCE"), PanelFont(8), kLabel,
             Qt::AlignLeft | Qt::AlignVCenter);
    const CapStyle light{QColor(222, 218, 206), QColor(36, 34, 30)};
    const CapStyle onKey{QColor(70, 96, 128), QColor(246, 244, 236)};
    const CapStyle list{QColor(204, 164, 96), QColor(40, 28, 12)};
    for (int i = 0; i < layout::kPrintButtonCount; ++i) {
        const layout::PrintButtonPlace& button = layout::kPrintButtons[static_cast<size_t>(i)];
        const CapStyle& style = button.Button == layout::PrintButton::On  ? onKey
                                : button.Button == layout::PrintButton::L ? list
                                                                          : light;
        DrawPrinterKey(p, button.Area, 10, QString::fromLatin1(button.Legend), style,
                       state.PrintDown[static_cast<size_t>(i)]);
    }
}

} // namespace orrindale::art
