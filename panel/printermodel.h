// The strip printer without its window: the dot characters, the paper picture that climbs a
// line at a time, and what each tick of the paper feed does with the print queue, a program
// listing and the paper roll.
//
// The main window owns one PrinterModel, runs the 250 ms feed timer and calls Tick on each
// timeout; everything else the model needs from the panel (which buttons are latched or held,
// redrawing the display, telling the paper viewer) comes through the Panel callbacks, so tests
// drive it without a window or a timer.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

#include "common/hpdata.h"
#include "engine/calculator.h"

namespace orrindale {

namespace printer {
inline constexpr int kLineWidth = 687; // the full-size line picture
inline constexpr int kLineHeight = 72;
inline constexpr int kLineChars = 15;
inline constexpr int kRollLimit = 400; // lines kept in the roll; later ones only reach paper
// The saved roll holds at most kRollLimit lines of kLineChars; a longer file is damaged.
inline constexpr TextListLimits kRollFileLimits{16u << 10, kRollLimit};
inline constexpr int kAdvance = 13; // pixels the paper climbs per line
inline constexpr int kLastPaperRow = 81;
inline constexpr int kTopAtFullPaper = 2; // the upper edge stays here once the paper fills
inline constexpr int kShownAtStartUp = 5; // lines redrawn on the paper at start-up
const QColor kDotFill(96, 96, 96);
const QColor kPanelDotRim(128, 128, 128);
const QColor kViewerDotRim(0, 0, 0);
} // namespace printer

// The 5 x 7 dot patterns of the print alphabet 0-9, A-F, M (minus) and P (point). A row is five
// bits; 16 is the leftmost dot, 1 the rightmost.
extern const std::array<std::array<uint8_t, 7>, 18> PrinterGlyphs;

// The glyph index of a print line character, or -1 for a blank position.
int PrinterGlyph(QChar c);

// A white 687 x 72 picture for one line at full size.
QImage NewPrintLineBitmap();

// Draws the text on the bitmap, one 5 x 8 pixel rectangle per dot, each lower row one pixel
// further left so that the characters lean. Characters without a glyph stay white.
void RenderPrintLine(QImage& bitmap, const QString& text,
                     const QColor& rim = printer::kPanelDotRim);

// RenderPrintLine, then the bitmap scaled to size by Lanczos resampling.
QImage ScaledPrintLine(QImage& bitmap, const QString& text, QSize size,
                       const QColor& rim = printer::kPanelDotRim);

class PrinterModel {
public:
    struct Panel {
        std::function<bool(int)> PrintSwitch; // X, Y or Z (0, 1, 2) latched
        std::function<bool()> FeedHeld;       // the paper feed button is held down
        std::function<int()> LastKey;         // the calculator key held down, 0 for none
        std::function<void()> RollChanged;    // a line was kept or the roll emptied
        std::function<void()> RedrawDisplay;
    };

    // untouchedPaper: the paper as the panel shows it before anything is printed. With a
    // device pixel ratio of 2 the paper keeps that resolution and prints its lines at it.
    PrinterModel(Calculator& calc, QStringList& roll, const QImage& untouchedPaper, Panel panel);

    const QImage& Paper() const { return paper_; }
    int PaperTop() const { return paperTop_; }

    void ResetPaper();
    // Moves the printed paper up by one line; the uncovered rows at the bottom turn white.
    void FeedPaper();
    // Prints one line at the print position (it does not feed).
    void PrintOnPaper(const QString& line);
    // The start-up picture: the paper reset, then the roll's last lines printed on it.
    void DrawRollEnd();
    // Empties the roll and gives the panel clean paper.
    void DiscardRoll();

    // One tick of the feed timer; false when the feed is to stop.
    bool Tick();

    // The L button: starts a listing of the program from the program counter; false when the
    // printer may not start one now (no feed is to be started then).
    bool StartListing(bool printerOn);

private:
    bool ListingTick();
    void Keep(const QString& line);
    QImage& LineBitmap();

    Calculator& calc_;
    QStringList& roll_;
    Panel panel_;

    QImage untouched_, paper_, scroll_, lineBitmap_;
    int paperTop_ = 0; // in rows of the panel, whatever the paper picture's scale
    int scale_ = 1;    // picture pixels per panel pixel: 2 for a paper picture drawn at 2x
};

} // namespace orrindale
