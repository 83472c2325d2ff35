// The plotter's pictures and where they stand: the body picture ("HP9plig.dat", drawn by
// mkpictures) and the small pictures of the form (arm, pen holder, pens, knob, lamps, switch
// levers), drawn from the same table when the window is made.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace orrindale::plotart {

inline constexpr int kWidth = 800; // the body picture
inline constexpr int kHeight = 580;
inline const QColor kSkyBlue{166, 202, 240}; // shows the desktop through

inline constexpr QRect kPaper{65, 20, 660, 440};
inline constexpr int kArmTop = 5, kArmWidth = 31, kArmHeight = 475, kArmOffset = 97;
inline constexpr int kHolderWidth = 75, kHolderHeight = 35;
// The tip of the lowered pen in the holder picture: it stands on the point being drawn. A
// raised pen's tip is kPenLift pixels higher, its shadow left on the paper below it.
inline constexpr QPoint kPenTip{0, 11};
inline constexpr int kPenLift = 8;
inline constexpr int kKnobSize = 37;
inline constexpr QRect kKnobPanels[4] = {
    {171, 515, 37, 37}, {287, 515, 37, 37}, {473, 515, 37, 37}, {589, 515, 37, 37}};
// The drag handles right of each knob.
inline QRect TurnHandle(int knob) {
    return {kKnobPanels[knob - 1].left() + 41, 500, 17, 57};
}
inline constexpr QRect kHoldLever{71, 518, 34, 28}, kOnLever{696, 518, 34, 28};
// The switch settings' captions and the strips below them, clicked to set a switch.
inline constexpr QRect kRelArea{36, 494, 50, 19}, kHoldArea{98, 494, 44, 19};
inline constexpr QRect kSbyArea{650, 494, 60, 19}, kOnArea{722, 494, 36, 19};
inline constexpr QRect kPowerLamp{85, 547, 11, 12}, kErrorLamp{393, 541, 13, 13};
inline constexpr QRect kPenButton{385, 516, 27, 24};
inline constexpr QRect kMoveStrip{360, 480, 75, 4};

QColor PenColour(int penIndex);
// Every picture is drawn at a scale: 1, or 2 for screens that scale by two, where the same
// drawing has twice the pixels and device pixel ratio 2, so it covers the same logical place.
QImage Body(int scale = 1);
QImage Arm(bool penDown, int scale = 1);
QImage Holder(bool penDown, int penIndex, int scale = 1);
QImage Lever(int scale = 1);
QImage Lamp(bool error, int scale = 1);
// The knob turned by 360 - value degrees about its centre.
QImage Knob(int value, int scale = 1);
// The ribbed edge of the knob's wheel in the drag handle beside it (TurnHandle's size): the
// ribs roll by as the knob turns.
QImage Handle(int value, int scale = 1);

} // namespace orrindale::plotart
