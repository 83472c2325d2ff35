// The key vocabulary: keyboard positions (1-65, row by row) and key codes (0-63, written as two
// octal digits). Program memory holds codes; the executor is called with positions.
#pragma once

#include <array>
#include <string>

namespace orrindale {

using TKeyCode = int; // 0..63
using TKeyPos = int;  // 1..65

inline constexpr int kKeyCount = 65;
inline constexpr TKeyPos kStepPrgmPos = 65;

// Positions of the keys the engine treats specially.
namespace pos {
inline constexpr TKeyPos ToPolar = 1, AbsY = 2, Arc = 3, Sqrt = 7, ChgSign = 8, EnterExp = 9,
                         ClearX = 10, Clear = 11, IfFlag = 12, SetFlag = 13, Fmt = 24, Pause = 26,
                         PrintSpace = 37, Stop = 39, End = 52, Point = 61, Cont = 63, GoTo = 64,
                         StepPrgm = 65;
} // namespace pos

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
// Octal text of value, zero-padded to width (key codes use width 2).
std::string FormatKeyCode(int value, int width = 2);

// Address characters: rows and steps 0-13 written "0"-"9", "a"-"d".
char AddressChar(int value);
// Text form of an address: "+" or "-" for the bank, row character, ".", step character.
std::string FormatAddress(int row, int step);

} // namespace orrindale
