// Where everything stands on the calculator's panel picture: key areas, pressed-key pictures,
// switches, wheel, display, lamps, printer, paper and card keys.
//
// One table serves both sides of the picture: the generator that draws the panel and its form
// pictures, and the input code that hit-tests the mouse. A key cap is drawn exactly where its
// hit area lies, so the two can never drift apart. Coordinates are pixels of the panel picture
// (the main window's client area), x to the right, y downward.
#pragma once

#include <array>
#include <cstddef>

namespace orrindale::layout {

struct Point {
    int X = 0;
    int Y = 0;
};

// A picture's place: top-left corner and size.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    constexpr int Right() const { return Left + Width; } // one past the last column
    constexpr int Bottom() const { return Top + Height; }
    constexpr Point TopLeft() const { return {Left, Top}; }
};

// A click area with inclusive bounds on all four sides.
struct Box {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;

    constexpr bool Holds(int x, int y) const { return x >= X1 && x <= X2 && y >= Y1 && y <= Y2; }
};

// ---- The panel picture ----------------------------------------------------------------------

inline constexpr int kPanelWidth = 740;
inline constexpr int kPanelHeight = 505;
// The colour outside the case; the window mask is made from exactly these pixels.
inline constexpr int kSkyRed = 166, kSkyGreen = 202, kSkyBlue = 240;

// ---- Keys -----------------------------------------------------------------------------------

inline constexpr int kKeyRows = 5;
inline constexpr int kKeyColumns = 13;
inline constexpr int kKeyCount = kKeyRows * kKeyColumns;
inline constexpr int kKeyWidth = 22;

// A row's y range; a point is on the row when Above < y < Below (both ends excluded).
struct KeyRowBand {
    int Above = 0;
    int Below = 0;
};
extern const std::array<KeyRowBand, kKeyRows> kKeyRowBands;
// x_left of every key, row by row; a point is on the key when x_left < x < x_left + 22.
extern const std::array<std::array<int, kKeyColumns>, kKeyRows> kKeyLeft;

struct KeyPlace {
    const char* Name;    // shown under the display while the pointer rests on the key
    const char* PcLabel; // the PC key that presses it, as shown; "" when none is shown
    Point Pressed;       // where the pressed-key picture stands
};
// Indexed by key position 1..65 (index 0 unused).
extern const std::array<KeyPlace, kKeyCount + 1> kKeys;

// Every pressed-key picture has this size and covers its key's cap with the cap's skirt.
inline constexpr int kPressedKeyWidth = 32;
inline constexpr int kPressedKeyHeight = 26;

inline constexpr int KeyRow(int key) {
    return (key - 1) / kKeyColumns + 1;
}
inline constexpr int KeyColumn(int key) {
    return (key - 1) % kKeyColumns + 1;
}
// The key's hit area as a box of its inner (strictly held) pixels.
Box KeyArea(int key);
Rect PressedKeyRect(int key);

// The key under a point, 1..65, or 0 for none. Rows are tried 1 to 5; on the row whose band
// holds y, a point inside one of that row's own intervals is that key. Otherwise the first of
// all 65 x intervals (row 1 column 1 to row 5 column 13) that holds x gives the column: the
// intervals of other rows widen the targets on purpose, e.g. (95, 465) hovers key 53.
int KeyAt(int x, int y);

// ---- Switches and their labels ----------------------------------------------------------------

enum class SwitchSetting { Deg, Rad, Fix, Float, Off, On, Run, Prgm };
inline constexpr int kSwitchSettingCount = 8;

struct SwitchPlace {
    SwitchSetting Setting;
    const char* Label; // the word printed beside the switch
    Rect Lever;        // the lever picture showing the switch at this setting
    Rect LabelArea;    // the click area over the printed word
    const char* ToolTip;
};
// In SwitchSetting order; the pairs are (Deg, Rad), (Fix, Float), (Off, On), (Run, Prgm), the
// first of each pair being the setting at a first start.
extern const std::array<SwitchPlace, kSwitchSettingCount> kSwitches;
const SwitchPlace& Switch(SwitchSetting setting);
// The other setting of the same switch.
SwitchSetting Partner(SwitchSetting setting);

// ---- Decimal wheel ----------------------------------------------------------------------------

struct WheelButton {
    Rect Area;
    int Step; // +1 or -1
    const char* ToolTip;
};
inline constexpr WheelButton kWheelUp{{659, 389, 24, 15}, +1, "Increment fix value"};
inline constexpr WheelButton kWheelDown{{665, 428, 24, 15}, -1, "Decrement fix value"};
// The shown digit picture (one of ten) stands here.
inline constexpr Rect kWheelDigit{645, 406, 14, 18};

// ---- Display, lamps and the labels under the display -------------------------------------------

inline constexpr Rect kDisplay{205, 233, 177, 58};
inline constexpr Rect kDisplayLamp{387, 236, 10, 10};
inline constexpr Rect kErrorLamp{133, 258, 32, 12};
inline constexpr Rect kKeyNameLabel{475, 250, 146, 15};
inline constexpr Rect kPcKeyLabel{475, 268, 146, 15};

// Display glyphs: 16 glyphs of 7 x 10 pixels in cells 8 wide on a 128 x 13 sheet, in the order
// 0-9, a, b, c, d, decimal point, minus. Lines start at y 5, 24, 43; cell k at x 12 + 8k.
inline constexpr int kGlyphCount = 16;
inline constexpr int kGlyphSheetWidth = 128;
inline constexpr int kGlyphSheetHeight = 13;
inline constexpr int kGlyphCellWidth = 8;
inline constexpr int kGlyphWidth = 7;
inline constexpr int kGlyphHeight = 10;
inline constexpr int kGlyphPoint = 14;
inline constexpr int kGlyphMinus = 15;
inline constexpr std::array<int, 3> kDisplayLineY{5, 24, 43};
inline constexpr int DisplayCellX(int cell) {
    return 12 + 8 * cell;
}

// ---- Magnetic card slot -------------------------------------------------------------------------

inline constexpr Box kCardRecordArea{463, 311, 487, 318};
inline constexpr Box kCardEnterArea{594, 311, 617, 318};
inline constexpr Rect kCardRecordPressed{460, 311, 31, 13};
inline constexpr Rect kCardEnterPressed{591, 310, 31, 14};
// The card view (the card drawn into the slot) and the side label "A" / "B".
inline constexpr Rect kCardView{501, 212, 79, 108};
inline constexpr Rect kCardSideLabel{597, 288, 14, 16};

// ---- Printer and paper ------------------------------------------------------------------------

enum class PrintButton { On, X, Y, Z, L };
inline constexpr int kPrintButtonCount = 5;

struct PrintButtonPlace {
    PrintButton Button;
    const char* Legend;
    Box Area;
    Rect Pressed;
};
extern const std::array<PrintButtonPlace, kPrintButtonCount> kPrintButtons;
// The printer button under a point, or -1 (an index into kPrintButtons otherwise).
int PrintButtonAt(int x, int y);

inline constexpr Box kFeedArea{352, 69, 378, 84};
inline constexpr Rect kFeedPressed{350, 65, 32, 23};

// The paper picture with the platen (tear bar) in front of it; print lines land on the paper
// picture at kPrintLine and the paper's upper edge starts at row kPaperTopAtReset.
inline constexpr Rect kPaper{224, 0, 108, 82};
inline constexpr Rect kPlaten{224, 55, 108, 2};
inline constexpr Rect kPrintLine{8, 70, 90, 8};
inline constexpr int kPaperTopAtReset = 54;

} // namespace orrindale::layout
