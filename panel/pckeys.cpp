#include "panel/pckeys.h"

namespace orrindale {

namespace {

// A physical key, as the table knows it.
enum PcKey {
    kNone = 0,
    kMinusKey = 1000, // the main keyboard's "- _"
    kEqualsKey,       // "= +"
    kSlashKey,        // "/ ?"
    kEnterKey,
    kBackspaceKey,
    kKeypadDecimal,
    kKeypadBase = 2000, // kKeypadBase + Qt key of a keypad key
};

bool DecimalCharacter(int qtKey) {
    return qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma;
}

// The punctuation keys by their place; kNone for every other place.
int IdentifyByPlace(int qtKey, quint32 scanCode) {
    switch (scanCode) {
    case scancode::kMinus: return kMinusKey;
    case scancode::kEquals: return kEqualsKey;
    case scancode::kSlash: return kSlashKey;
    // Without NumLock the key is Delete, which is no decimal point.
    case scancode::kKeypadDecimal: return DecimalCharacter(qtKey) ? kKeypadDecimal : kNone;
    default: return kNone;
    }
}

// The punctuation keys by the character, for events that carry no key code.
int IdentifyByCharacter(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return kMinusKey;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return kEqualsKey;
    case Qt::Key_Slash:
    case Qt::Key_Question: return kSlashKey;
    default: return kNone;
    }
}

int Identify(int qtKey, bool keypad, quint32 scanCode) {
    if (scanCode != 0) {
        if (const int byPlace = IdentifyByPlace(qtKey, scanCode); byPlace != kNone) return byPlace;
        if (scanCode == scancode::kKeypadDecimal) return kNone;
    }
    if (keypad) return DecimalCharacter(qtKey) ? kKeypadDecimal : kKeypadBase + qtKey;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (scanCode == 0)
        if (const int byCharacter = IdentifyByCharacter(qtKey); byCharacter != kNone)
            return byCharacter;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnterKey;
    case Qt::Key_Backspace: return kBackspaceKey;
    default: return kNone;
    }
}

int Keypad(int qtKey) {
    return kKeypadBase + qtKey;
}

struct Entry {
    int pcKey;
    int calculatorKey;
};

// clang-format off
const Entry kPlain[] = {
    {Qt::Key_P, 1}, {Qt::Key_Y, 2}, {Qt::Key_A, 4}, {Qt::Key_B, 5}, {Qt::Key_W, 6},
    {Qt::Key_J, 9}, {kBackspaceKey, 10}, {Qt::Key_K, 11}, {Qt::Key_S, 13},
    {Qt::Key_R, 14}, {Qt::Key_I, 15}, {Qt::Key_C, 17}, {Qt::Key_D, 18},
    {Keypad(Qt::Key_Slash), 20}, {kSlashKey, 20},
    {Qt::Key_7, 21}, {Keypad(Qt::Key_7), 21}, {Qt::Key_8, 22}, {Keypad(Qt::Key_8), 22},
    {Qt::Key_9, 23}, {Keypad(Qt::Key_9), 23}, {Qt::Key_H, 26},
    {Qt::Key_E, 30}, {Qt::Key_F, 31}, {Qt::Key_U, 32},
    {Qt::Key_X, 33}, {Keypad(Qt::Key_Asterisk), 33},
    {Qt::Key_4, 34}, {Keypad(Qt::Key_4), 34}, {Qt::Key_5, 35}, {Keypad(Qt::Key_5), 35},
    {Qt::Key_6, 36}, {Keypad(Qt::Key_6), 36}, {Qt::Key_T, 37}, {Qt::Key_O, 39},
    {Qt::Key_Q, 43}, {Keypad(Qt::Key_Minus), 46}, {kMinusKey, 46},
    {Qt::Key_1, 47}, {Keypad(Qt::Key_1), 47}, {Qt::Key_2, 48}, {Keypad(Qt::Key_2), 48},
    {Qt::Key_3, 49}, {Keypad(Qt::Key_3), 49}, {Qt::Key_L, 54}, {Qt::Key_M, 56},
    {kEnterKey, 58}, {Keypad(Qt::Key_Enter), 58}, {Keypad(Qt::Key_Return), 58},
    {Keypad(Qt::Key_Plus), 59}, {kEqualsKey, 59},
    {Qt::Key_0, 60}, {Keypad(Qt::Key_0), 60},
    {kKeypadDecimal, 61},
    {Qt::Key_N, 63}, {Qt::Key_G, 64}, {Qt::Key_Z, 65},
};

const Entry kShifted[] = {
    {Qt::Key_A, 3}, {Qt::Key_J, 7}, {Qt::Key_K, 8}, {Qt::Key_I, 12}, {Qt::Key_H, 16},
    {Qt::Key_U, 19}, {Qt::Key_F, 24}, {Qt::Key_Y, 25}, {Qt::Key_R, 27}, {Qt::Key_E, 28},
    {Qt::Key_S, 29}, {Qt::Key_W, 38}, {Keypad(Qt::Key_Minus), 40}, {kMinusKey, 40},
    {Qt::Key_L, 41}, {Qt::Key_C, 42}, {Qt::Key_Q, 44},
    {kEnterKey, 45}, {Keypad(Qt::Key_Enter), 45}, {Keypad(Qt::Key_Return), 45},
    {Qt::Key_B, 50}, {Qt::Key_X, 51}, {Qt::Key_O, 52},
    {Keypad(Qt::Key_Plus), 53}, {kEqualsKey, 53}, {Qt::Key_T, 55}, {Qt::Key_M, 57},
    {Qt::Key_P, 62},
};
// clang-format on

// The switches and the wheel have keys where typing has none: the function keys and the main
// keyboard's Page Up and Page Down (on the keypad those are 9 and 3 without NumLock).
struct ControlKey {
    int qtKey;
    PcKeyAction action;
    const char* name;
};
const ControlKey kControlKeys[] = {
    {Qt::Key_F5, {PcKeyAction::FlipSwitch, 0}, "F5"},
    {Qt::Key_F6, {PcKeyAction::FlipSwitch, 1}, "F6"},
    {Qt::Key_F7, {PcKeyAction::FlipSwitch, 2}, "F7"},
    {Qt::Key_F8, {PcKeyAction::FlipSwitch, 3}, "F8"},
    {Qt::Key_PageUp, {PcKeyAction::StepWheel, +1}, "Page Up"},
    {Qt::Key_PageDown, {PcKeyAction::StepWheel, -1}, "Page Down"},
};

template <size_t N> int Find(const Entry (&table)[N], int pcKey) {
    for (const Entry& e : table)
        if (e.pcKey == pcKey) return e.calculatorKey;
    return 0;
}

} // namespace

PcKeyAction MapPcKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // Ctrl or Alt on its own reports its own modifier only after it went down.
    const bool ctrlOrAltKey =
        qtKey == Qt::Key_Control || qtKey == Qt::Key_Alt || qtKey == Qt::Key_AltGr;
    if (ctrlOrAltKey || (held & ~Qt::KeyboardModifiers(Qt::ShiftModifier)))
        return {PcKeyAction::PressHovered, 0};
    if (!held && !keypad)
        for (const ControlKey& c : kControlKeys)
            if (c.qtKey == qtKey) return c.action;
    const int pcKey = Identify(qtKey, keypad, scanCode);
    if (pcKey == kNone) return {};
    const int key = held ? Find(kShifted, pcKey) : Find(kPlain, pcKey);
    if (key == 0) return {};
    return {PcKeyAction::Press, key};
}

const char* PcKeyName(PcKeyAction action) {
    for (const ControlKey& c : kControlKeys)
        if (c.action.kind == action.kind && c.action.key == action.key) return c.name;
    return "";
}

} // namespace orrindale
