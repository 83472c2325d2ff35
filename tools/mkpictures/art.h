// Drawing of the calculator's pictures: the panel in any state of its moving parts, the display
// glyphs, the hand cursors and the function card. Every form picture is cut out of a panel drawn
// in the state that picture shows, so it matches the panel around it to the pixel.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <array>

#include "panel/layout.h"

namespace orrindale::art {

// The state of everything on the panel that has more than one look.
struct PanelState {
    int PressedKey = 0; // 1..65, 0 for none
    layout::SwitchSetting Angle = layout::SwitchSetting::Deg;
    layout::SwitchSetting Display = layout::SwitchSetting::Fix;
    layout::SwitchSetting Power = layout::SwitchSetting::Off;
    layout::SwitchSetting Mode = layout::SwitchSetting::Run;
    int Wheel = 2;
    bool DisplayLamp = false;
    bool ErrorLamp = false;
    bool FeedDown = false;
    bool RecordDown = false;
    bool EnterDown = false;
    std::array<bool, layout::kPrintButtonCount> PrintDown{};
};

const QColor kSky(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);

// The whole panel; outside the case every pixel is exactly kSky, inside none is.
// At scale 2 the picture has twice the pixels each way and a device pixel ratio of 2.
QImage RenderPanel(const PanelState& state, int scale = 1);
QImage Crop(const QImage& panel, const layout::Rect& rect);

// At scale 2 each beam stroke is drawn with twice the pixels, diagonals smoothed and the glow
// kept one pixel wide, instead of doubling each pixel.
QImage RenderGlyphSheet(int scale = 1);
// These too are drawn at any scale in the coordinates of their 1x picture, with a device pixel
// ratio of `scale`.
QImage RenderHandCursor(bool closed, int scale = 1);
QImage RenderFunctionCard(int scale = 1);
// A magnetic card's face with side A's end up, with the protection tab of either side.
QImage RenderCardFace(bool tabA, bool tabB, int scale = 1);
// The slot's side label: "A" or "B", grey on black.
QImage RenderSideLabel(const QString& side, int scale = 1);

// ---- Shared drawing helpers ----------------------------------------------------------------

// Carlito, else DejaVu Sans, else whatever sans serif the system has.
QFont PanelFont(int pixelSize, bool bold = true);
QColor Shade(const QColor& colour, int percent); // percent > 100 lightens, < 100 darkens
void DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& colour, int flags = Qt::AlignCenter);

// Key caps. A cap covers x Left..Left+22 of its area, from the row band's upper edge to two
// rows below the lower one (its front skirt); pushed in, the top face drops by two rows.
struct CapStyle {
    QColor Face;
    QColor Legend;
};
void DrawCap(QPainter& painter, const QRect& face, const CapStyle& style, bool down);
void DrawCapLegend(QPainter& painter, const QRect& face, const QString& legend,
                   const QColor& colour, bool down);
void DrawKeys(QPainter& painter, int pressedKey);
// The short legend printed on a key's cap (lines separated by '\n').
QString CapLegend(int key);
CapStyle CapStyleOf(int key);

} // namespace orrindale::art
