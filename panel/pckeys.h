// The PC keyboard: which calculator key a PC key presses.
//
// Keys are recognised by what the key is (a letter, a digit of the main keyboard or of the
// keypad, the keyboard's "- _", "= +" and "/ ?" keys, the keypad's decimal key), not by the
// character the user's layout produces: Shift with "=" is the "= +" key pressed with Shift,
// and on a layout where Shift+0 gives "=" it is the 0 key with Shift, which presses nothing.
// The three punctuation keys and the keypad's decimal key are told by their key code (the X
// keyboard code of their place); events without one (made up by software) fall back to the
// character.
#pragma once

#include <Qt>
#include <QtGlobal>

namespace orrindale {

// What a PC key going down does.
struct PcKeyAction {
    enum Kind { Nothing, Press, PressHovered, FlipSwitch, StepWheel } kind = Nothing;
    // The calculator key for Press; the switch, 0-3 from the left, for FlipSwitch; +1 or -1 for
    // StepWheel.
    int key = 0;
};

// The X keyboard codes (evdev code + 8) of the keys told by their place.
namespace scancode {
inline constexpr quint32 kMinus = 20;         // "- _"
inline constexpr quint32 kEquals = 21;        // "= +"
inline constexpr quint32 kSlash = 61;         // "/ ?"
inline constexpr quint32 kKeypadDecimal = 91; // "." or "," with NumLock, Delete without
} // namespace scancode

// qtKey is QKeyEvent::key(); modifiers QKeyEvent::modifiers() (with KeypadModifier for the
// numeric keypad); scanCode QKeyEvent::nativeScanCode(), 0 when the event has none.
PcKeyAction MapPcKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0);

// The PC key of a switch or wheel action as the help names it ("F7"); "" when none has one.
const char* PcKeyName(PcKeyAction action);

} // namespace orrindale
