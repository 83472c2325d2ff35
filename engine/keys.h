// The key vocabulary: keyboard positions (1-65, row by row) and key codes (0-63, written as two
// octal digits). Program memory holds codes; the executor is called with positions.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orrindale {

using TKeyCode = int; // 0..63
using TKeyPos = int;  // 1..65

inline constexpr int kKeyCount = 65;
inline constexpr TKeyPos kStepPrgmPos = 65; // keypos::StepPrgm

// The keyboard positions by name, row by row as the key table lists them (KeyNames).
namespace keypos {
// Row 1
inline constexpr TKeyPos ToPolar = 1, AbsY = 2, Arc = 3, A = 4, B = 5, XExchangeY = 6, Sqrt = 7,
                         ChgSign = 8, EnterExp = 9, ClearX = 10, Clear = 11, IfFlag = 12,
                         SetFlag = 13;
// Row 2
inline constexpr TKeyPos ToRect = 14, IntX = 15, Hyper = 16, C = 17, D = 18, RollDown = 19,
                         Divide = 20, Digit7 = 21, Digit8 = 22, Digit9 = 23, Fmt = 24,
                         IfXLessY = 25, Pause = 26;
// Row 3
inline constexpr TKeyPos Rcl = 27, ExpX = 28, SinX = 29, E = 30, F = 31, RollUp = 32, Multiply = 33,
                         Digit4 = 34, Digit5 = 35, Digit6 = 36, PrintSpace = 37, IfXEqualY = 38,
                         Stop = 39;
// Row 4
inline constexpr TKeyPos AccMinus = 40, LnX = 41, CosX = 42, YTo = 43, YExchange = 44,
                         ShiftDown = 45, Subtract = 46, Digit1 = 47, Digit2 = 48, Digit3 = 49,
                         SubReturn = 50, IfXGreaterY = 51, End = 52;
// Row 5
inline constexpr TKeyPos AccPlus = 53, LogX = 54, TanX = 55, XTo = 56, XFrom = 57, ShiftUp = 58,
                         Add = 59, Digit0 = 60, Point = 61, Pi = 62, Cont = 63, GoTo = 64,
                         StepPrgm = 65;
} // namespace keypos
// The older short name, still used by the panel.
namespace pos = keypos;

// Position -> code; index 0 unused, position 65 (STEP PRGM) has no code and maps to 0.
extern const std::array<TKeyCode, kKeyCount + 1> KeyCodeOf;
// Code -> position 1..64, the inverse of KeyCodeOf.
extern const std::array<TKeyPos, 64> KeyPosOf;
// Long names by position 1..65 (index 0 unused), then the five short forms at 66..70.
extern const std::array<const char*, kKeyCount + 6> KeyNames;
// Card editor mnemonics by position 1..64 (index 0 unused).
extern const std::array<const char*, kKeyCount> KeyMnemonics;
// Card rows the marked card reader lets pass after feeding the key, by position 0..65.
extern const std::array<int, kKeyCount + 1> KeyBusyRows;

// Indices of the short forms in KeyNames.
inline constexpr int kShortYTo = 66, kShortYExchange = 67, kShortXTo = 68, kShortXFrom = 69,
                     kShortGoTo = 70;

std::string KeyName(TKeyCode code);
std::string KeyMnemonic(TKeyPos pos);
// The position a card editor mnemonic names ("Add", "x<>y", "7"), letter case ignored;
// "Step" names STEP PRGM, which has no mnemonic.
std::optional<TKeyPos> KeyPosFromMnemonic(std::string_view name);
// Octal text of value, zero-padded to width (key codes use width 2).
std::string FormatKeyCode(int value, int width = 2);

// Address characters: rows and steps 0-13 written "0"-"9", "a"-"d".
char AddressChar(int value);
// Text form of an address: "+" or "-" for the bank, row character, ".", step character.
std::string FormatAddress(int row, int step);

} // namespace orrindale
