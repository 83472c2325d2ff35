// The calculator's display: three lines of green glyphs in a 177 x 58 picture.
//
// DisplayRenderer is a plain class: the main window gives it the glyph sheet and the engine's
// lines, and shows its picture. It also keeps the warm-up brightness (DimLevel), the collapsing
// line of a power-off (CollapseInset) and the steps of both timers, so that all of it can be
// checked pixel by pixel without a window.
#pragma once

#include <QImage>
#include <string>

#include "engine/calculator.h"

namespace orrindale {

class DisplayRenderer {
public:
    static constexpr int kWidth = 177;
    static constexpr int kHeight = 58;
    static constexpr int kGlyphWidth = 7;
    static constexpr int kGlyphHeight = 10;
    static constexpr int kLineY[3] = {5, 24, 43};
    static constexpr int kFirstCellX = 12;
    static constexpr int kCellPitch = 8;
    static constexpr int kCollapseY = 29;

    DisplayRenderer();

    // The glyph sheet: 16 glyphs 8 pixels apart (0-9, a-d, point, minus), 7 x 10 drawn each.
    // A sheet with a device pixel ratio of 2 has twice the pixels each way, and so has the
    // picture then.
    void SetGlyphSheet(const QImage& sheet);

    // Paints the display from the engine (black unless the engine shows lines and the card
    // reader has not hidden it). Computing time is the caller's business: it calls Clear()
    // while BusyTicks run out and Draw() after.
    void Draw(Calculator& calc);
    void Clear();
    void DrawLine(const std::string& text, int line);
    static int GlyphOf(char symbol);

    // Warm-up and power-off line. Each returns whether its timer keeps running.
    void PowerOn();  // CollapseInset 0; the caller starts the brightness timer
    bool PowerOff(); // true: the collapsing line shows (brightness timer again)
    // Warming up, it recolours the glyphs and, with draw, repaints the lines at the new level.
    bool BrightnessTick(Calculator& calc, bool draw = true);
    bool DimTick();

    const QImage& Picture() const { return picture_; }
    const QImage& GlyphSheet() const { return glyphSheet_; }
    // The engine's lines as last drawn; all empty while the display is dark.
    const DisplayTexts& ShownLines() const { return shown_; }
    int DimLevel = 255;
    int CollapseInset = 0;
    bool DisplayBlanked = false; // hidden by the marked card reader

private:
    void Recolour();

    QImage picture_;
    bool dark_ = true; // nothing drawn since the picture was last cleared
    QImage glyphSheet_;
    QImage glyphMaster_;
    DisplayTexts shown_;
    int scale_ = 1;
};

} // namespace orrindale
