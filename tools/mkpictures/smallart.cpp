// The display's glyph sheet and the two hand cursors.
#include <QPainterPath>

#include "art.h"

namespace orrindale::art {

namespace {

// Strokes one pixel wide, like the trace of the tube's beam; the glow around them is added
// when the sheet is drawn. Order: 0-9, a, b, c, d, decimal point, minus.
// clang-format off
const char* const kGlyphRows[layout::kGlyphCount][layout::kGlyphHeight] = {
    {".......", "..###..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."},
    {".......", "...#...", "..##...", "...#...", "...#...", "...#...", "...#...", "...#...", "..###..", "......."},
    {".......", "..###..", ".#...#.", ".....#.", "....#..", "...#...", "..#....", ".#.....", ".#####.", "......."},
    {".......", ".#####.", ".....#.", "....#..", "...##..", ".....#.", ".....#.", ".#...#.", "..###..", "......."},
    {".......", "....#..", "...##..", "..#.#..", ".#..#..", ".#####.", "....#..", "....#..", "....#..", "......."},
    {".......", ".#####.", ".#.....", ".####..", ".....#.", ".....#.", ".....#.", ".#...#.", "..###..", "......."},
    {".......", "...##..", "..#....", ".#.....", ".####..", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."},
    {".......", ".#####.", ".....#.", "....#..", "...#...", "...#...", "..#....", "..#....", "..#....", "......."},
    {".......", "..###..", ".#...#.", ".#...#.", "..###..", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."},
    {".......", "..###..", ".#...#.", ".#...#.", ".#...#.", "..####.", ".....#.", "....#..", "..##...", "......."},
    {".......", ".......", ".......", "..###..", ".....#.", "..####.", ".#...#.", ".#...#.", "..####.", "......."},
    {".......", ".#.....", ".#.....", ".#.....", ".####..", ".#...#.", ".#...#.", ".#...#.", ".####..", "......."},
    {".......", ".......", ".......", "..###..", ".#...#.", ".#.....", ".#.....", ".#...#.", "..###..", "......."},
    {".......", ".....#.", ".....#.", ".....#.", "..####.", ".#...#.", ".#...#.", ".#...#.", "..####.", "......."},
    {".......", ".......", ".......", ".......", ".......", ".......", ".......", "..##...", "..##...", "......."},
    {".......", ".......", ".......", ".......", ".#####.", ".......", ".......", ".......", ".......", "......."},
};
// clang-format on

bool Lit(int glyph, int x, int y) {
    if (x < 0 || y < 0 || x >= layout::kGlyphWidth || y >= layout::kGlyphHeight) return false;
    return kGlyphRows[glyph][y][x] == '#';
}

// The strokes at twice the resolution: each pixel becomes four, and where two strokes meet
// at a diagonal the inner corner is filled so the beam runs smoothly (Scale2x).
bool Lit2x(int glyph, int x, int y) {
    const int px = x >> 1, py = y >> 1;
    const bool right = x & 1, down = y & 1;
    const bool up = Lit(glyph, px, py - 1), below = Lit(glyph, px, py + 1),
               left = Lit(glyph, px - 1, py), after = Lit(glyph, px + 1, py);
    const bool vertical = down ? below : up, horizontal = right ? after : left;
    const bool opposite = down ? up : below, other = right ? left : after;
    if (vertical == horizontal && vertical != opposite && horizontal != other) return vertical;
    return Lit(glyph, px, py);
}

// A lit stroke pixel, with a glow that fades over one pixel to the sides and less at corners.
template <typename LitAt> QRgb BeamPixel(LitAt lit, int x, int y) {
    if (lit(x, y)) return qRgb(120, 255, 130);
    const int sides = lit(x - 1, y) + lit(x + 1, y) + lit(x, y - 1) + lit(x, y + 1);
    if (sides > 0) return qRgb(0, std::min(150, 70 + 30 * sides), 30);
    const int corners =
        lit(x - 1, y - 1) + lit(x + 1, y - 1) + lit(x - 1, y + 1) + lit(x + 1, y + 1);
    return corners > 0 ? qRgb(0, 40, 12) : qRgb(0, 0, 0);
}

QRgb GlyphPixel(int glyph, int x, int y, int scale) {
    if (scale == 1) return BeamPixel([glyph](int gx, int gy) { return Lit(glyph, gx, gy); }, x, y);
    return BeamPixel(
        [glyph](int gx, int gy) {
            return gx >= 0 && gy >= 0 && gx < 2 * layout::kGlyphWidth &&
                   gy < 2 * layout::kGlyphHeight && Lit2x(glyph, gx, gy);
        },
        x, y);
}

QPainterPath Finger(qreal x, qreal top, qreal bottom, qreal width) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, top, width, bottom - top), width / 2, width / 2);
    return path;
}

} // namespace

QImage RenderGlyphSheet(int scale) {
    QImage sheet(layout::kGlyphSheetWidth * scale, layout::kGlyphSheetHeight * scale,
                 QImage::Format_RGB32);
    sheet.fill(Qt::black);
    for (int glyph = 0; glyph < layout::kGlyphCount; ++glyph)
        for (int y = 0; y < layout::kGlyphHeight * scale; ++y)
            for (int x = 0; x < layout::kGlyphWidth * scale; ++x)
                sheet.setPixel(glyph * layout::kGlyphCellWidth * scale + x, y,
                               GlyphPixel(glyph, x, y, scale));
    sheet.setDevicePixelRatio(scale);
    return sheet;
}

QImage RenderHandCursor(bool closed, int scale) {
    QImage cursor(32 * scale, 32 * scale, QImage::Format_ARGB32);
    cursor.fill(Qt::transparent);
    cursor.setDevicePixelRatio(scale);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 13, 16, 14), 5, 5);
    if (closed) {
        // Fingers curled over the palm: only the knuckles show above it.
        for (int i = 0; i < 4; ++i)
            hand = hand.united(Finger(8.5 + i * 4, 10, 18, 4));
        hand = hand.united(Finger(5, 15, 22, 4.5));
    } else {
        const qreal tops[4] = {6, 3, 4, 7};
        for (int i = 0; i < 4; ++i)
            hand = hand.united(Finger(8.5 + i * 4, tops[i], 18, 3.8));
        QPainterPath thumb = Finger(0, 0, 11, 4.2);
        thumb = QTransform().translate(6, 15).rotate(-40).map(thumb);
        hand = hand.united(thumb);
    }
    QPainter p(&cursor);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    for (int i = 1; i < 4; ++i) // the gaps between the fingers
        p.drawLine(QPointF(8.5 + i * 4, closed ? 12 : 9), QPointF(8.5 + i * 4, closed ? 16 : 15));
    return cursor;
}

} // namespace orrindale::art
