// The panel's form pictures: pressed keys, switch levers and label areas, wheel digits and
// buttons, lamps, printer and card buttons, paper and platen, the display glyph sheet and the
// two hand cursors. They are drawn at build time and compiled into the program; each stands at
// the place layout.h gives for it (the glyph sheet and cursors stand nowhere).
#pragma once

#include <QImage>
#include <QLatin1Char>
#include <QString>
#include <QStringList>

#include "panel/layout.h"

namespace orrindale::pictures {

inline constexpr const char* kWheelUp = "wheel_up";
inline constexpr const char* kWheelDown = "wheel_down";
inline constexpr const char* kDisplayLamp = "display_lamp";
inline constexpr const char* kErrorLamp = "error_lamp";
inline constexpr const char* kFeedDown = "feed_down";
inline constexpr const char* kCardRecordDown = "card_record_down";
inline constexpr const char* kCardEnterDown = "card_enter_down";
// The card faces (79 x 118; side A's end at the top): no side protected, side A's protection
// tab, side B's protection tab; the slot behind the card view; the side labels "A" and "B".
inline constexpr const char* kCardAB = "card_ab";
inline constexpr const char* kCardWPA = "card_wpa";
inline constexpr const char* kCardWPB = "card_wpb";
inline constexpr const char* kCardSlot = "card_slot";
inline constexpr const char* kCardSideA = "card_side_a";
inline constexpr const char* kCardSideB = "card_side_b";
inline constexpr int kCardFaceWidth = 79;
inline constexpr int kCardFaceHeight = 118;
inline constexpr const char* kPaper = "paper";
inline constexpr const char* kPlaten = "platen";
inline constexpr const char* kGlyphSheet = "glyphs";
inline constexpr const char* kOpenHand = "CSRHO";   // 32 x 32, hot spot at the centre
inline constexpr const char* kClosedHand = "CSRHC"; // 32 x 32, hot spot at the centre

// key01 .. key65
inline QString PressedKey(int key) {
    return QStringLiteral("key%1").arg(key, 2, 10, QLatin1Char('0'));
}
// lever_deg, lever_rad, ... : the switch shown at that setting.
inline QString SwitchLever(layout::SwitchSetting setting) {
    return QStringLiteral("lever_") + QString::fromLatin1(layout::Switch(setting).Label).toLower();
}
// label_deg, label_rad, ... : the click area over the printed word.
inline QString SwitchLabel(layout::SwitchSetting setting) {
    return QStringLiteral("label_") + QString::fromLatin1(layout::Switch(setting).Label).toLower();
}
// wheel0 .. wheel9
inline QString WheelDigit(int digit) {
    return QStringLiteral("wheel%1").arg(digit);
}
// print_on_down, print_x_down, ... : the printer button latched or held.
inline QString PrintButtonDown(layout::PrintButton button) {
    const auto& place = layout::kPrintButtons[static_cast<size_t>(button)];
    return QStringLiteral("print_") + QString::fromLatin1(place.Legend).toLower() +
           QStringLiteral("_down");
}

inline QStringList AllNames() {
    QStringList names;
    for (int key = 1; key <= layout::kKeyCount; ++key)
        names << PressedKey(key);
    for (const layout::SwitchPlace& place : layout::kSwitches)
        names << SwitchLever(place.Setting) << SwitchLabel(place.Setting);
    for (int digit = 0; digit <= 9; ++digit)
        names << WheelDigit(digit);
    for (const layout::PrintButtonPlace& place : layout::kPrintButtons)
        names << PrintButtonDown(place.Button);
    for (const char* name :
         {kWheelUp, kWheelDown, kDisplayLamp, kErrorLamp, kFeedDown, kCardRecordDown,
          kCardEnterDown, kCardAB, kCardWPA, kCardWPB, kCardSlot, kCardSideA, kCardSideB, kPaper,
          kPlaten, kGlyphSheet, kOpenHand, kClosedHand})
        names << QString::fromLatin1(name);
    return names;
}

// The picture of that name (ARGB32 for the cursors, RGB32 otherwise); a null image for a name
// that does not exist. At scale 2 the picture drawn at twice the resolution (device pixel
// ratio 2, same size in logical pixels) where there is one, else the 1x picture.
QImage FormPicture(const QString& name, int scale = 1);

} // namespace orrindale::pictures
