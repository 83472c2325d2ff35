// The PC keyboard: which calculator key a PC key presses.
//
// Keys are recognised by what the key is (a letter, a digit of the main keyboard or of the
// keypad, the keyboard's "- _", "= +" and "/ ?" keys), not by the character the user's layout
// produces with Shift, so that Shift with "=" is the "= +" key pressed with Shift.
#pragma once

#include <Qt>

namespace orrindale {

// What a PC key going down does.
struct PcKeyAction {
    enum Kind { Nothing, Press, PressHovered } kind = Nothing;
    int key = 0; // the calculator key for Press
};

// qtKey is QKeyEvent::key(); modifiers QKeyEvent::modifiers() (with KeypadModifier for the
// numeric keypad).
PcKeyAction MapPcKey(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace orrindale
