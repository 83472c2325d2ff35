// The magnetic program card: its three faces and the side labels of the slot.
//
// A face is 79 x 118 with side A's end at the top. The slot shows a face turned half a turn
// when side B faces the reader, and only its first 108 rows; at rest only the top 15 rows
// stick out of the slot. So everything a user must see at rest (the side mark, the protection
// tab of the side turned away) lies in the top 15 rows of the face as shown: side A's marks at
// the top, side B's drawn upside down at the bottom.
#include "art.h"
#include "panel/pictures.h"

namespace orrindale::art {

namespace {

const QColor kCardBody(238, 232, 212);
const QColor kCardEdge(150, 142, 120);
const QColor kOxide(92, 58, 34);
const QColor kTab(214, 52, 36);
// Outside the rounded corners; the slot makes this colour transparent.
const QColor kCardKey(255, 0, 255);

constexpr int W = pictures::kCardFaceWidth;
constexpr int H = pictures::kCardFaceHeight;

// A mark of one end: the side's letter and an arrow pointing into the slot.
void DrawEndMark(QPainter& p, const QString& side) {
    DrawText(p, QRectF(67, 2, 10, 11), side, PanelFont(10), QColor(40, 40, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    const QPointF arrow[] = {{72, 14}, {69, 19}, {75, 19}};
    p.drawPolygon(arrow, 3);
}

// The tab that protects a side sits at that side's end, on the left.
void DrawTab(QPainter& p) {
    p.setPen(QPen(Shade(kTab, 70), 1));
    p.setBrush(kTab);
    p.drawRect(QRectF(3.5, 1.5, 14, 10));
    DrawText(p, QRectF(3, 1, 15, 11), QStringLiteral("WP"), PanelFont(7), Qt::white);
}

void DrawFace(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kCardEdge, 1));
    p.setBrush(kCardBody);
    p.drawRoundedRect(QRectF(0.5, 0.5, W - 1, H - 1), 4, 4);
    // The oxide band the steps are written on, with its recording tracks.
    p.setPen(Qt::NoPen);
    p.setBrush(kOxide);
    p.drawRect(QRect(8, 22, 42, 74));
    p.setPen(QPen(Shade(kOxide, 130), 1));
    for (int x = 14; x < 50; x += 7)
        p.drawLine(x, 24, x, 93);
    // The name strip: the slot writes the name of the side facing the reader into it.
    p.setPen(QPen(QColor(170, 162, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(56, 5, 11, 98));
}

} // namespace

QImage RenderCardFace(bool tabA, bool tabB, int scale) {
    QImage face(W * scale, H * scale, QImage::Format_RGB32);
    face.fill(kCardKey);
    face.setDevicePixelRatio(scale);
    QPainter p(&face);
    DrawFace(p);
    DrawEndMark(p, QStringLiteral("A"));
    if (tabB) DrawTab(p);
    // Side B's end: the same marks, upside down.
    p.translate(W, H);
    p.rotate(180);
    DrawEndMark(p, QStringLiteral("B"));
    if (tabA) DrawTab(p);
    return face;
}

QImage RenderSideLabel(const QString& side, int scale) {
    const layout::Rect at = layout::kCardSideLabel;
    QImage label(at.Width * scale, at.Height * scale, QImage::Format_RGB32);
    label.fill(Qt::black);
    label.setDevicePixelRatio(scale);
    QPainter p(&label);
    DrawText(p, QRectF(0, 0, at.Width, at.Height), side, PanelFont(13), QColor(170, 170, 170));
    return label;
}

} // namespace orrindale::art
