// Program listings: the plain-text form in which programs leave and enter the calculator, one
// line per program step with its address, its key code in octal and the name of its key
// ("+0.0 33 Add"). The viewer writes listings to files, the clipboard and the printer; the
// reader below also takes hand-written programs (names only, codes only, addresses where
// wanted), and the marked card editor reads program texts with it too.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keys.h"

namespace orrindale {

class Calculator;

namespace listing {

inline constexpr int kSteps = 392;     // the calculator's program memory
inline constexpr int kHalfSteps = 196; // steps of the first bank
inline constexpr int kStepsPerRow = 14;

// Where step n (0-391) lies in program memory: rows 0-13 hold steps 0-195, rows 16-29 the rest.
struct MemoryPlace {
    int Row = 0;
    int Step = 0;
};
MemoryPlace PlaceOfStep(int n);

// "+0.0" for step 0, "+d.d" for 195, "-0.0" for 196, "-d.d" for 391.
std::string AddressText(int n);

// The key code of an instruction text, compared without regard to case with the key names of
// positions 1-64 (STEP PRGM is no instruction). Empty text gives 0; anything else -1. No
// trimming: a name with a space after it is no name.
int LookUpInstruction(std::string_view text);

// The instruction text of a code: its key's long name; empty for 0.
std::string InstructionOf(TKeyCode code);

// One written line: address, space, two octal digits, space, instruction.
std::string ListingLine(int n, std::string_view codeText, std::string_view instruction);

// The codes of program memory, step 0 first, and one step written.
std::array<TKeyCode, kSteps> ReadProgram(const Calculator& calc);
void WriteStep(Calculator& calc, int n, TKeyCode code);

// What reading a listing gave: 392 instructions as written (empty where no line filled a
// step) and their codes (0 for an invalid one). Complete is false when a bad line stopped the
// reading; Error then holds the message for the user.
struct ReadResult {
    std::vector<std::string> Instructions;
    std::vector<TKeyCode> Codes;
    bool Complete = true;
    std::string Error;
};
ReadResult LoadTextListing(const std::vector<std::string>& lines);

// A listing as a file or clipboard holds it: every line ended by CR LF, one byte a character.
std::string ListingText(const std::vector<std::string>& lines);
// The largest listing file read. A written listing takes some 7 KB; a hand-written one may
// carry far more spaces and blank lines, but nothing that needs a megabyte.
inline constexpr std::size_t kMaxListingBytes = 1u << 20;

// The lines of a text file, split at CR LF, CR or LF; false when it cannot be read or is not a
// regular file of at most kMaxListingBytes.
bool ReadListingFile(const std::string& path, std::vector<std::string>& lines);
// Replaces the file in one step, so a failed save leaves the old listing whole.
bool WriteListingFile(const std::string& path, const std::vector<std::string>& lines);

} // namespace listing
} // namespace orrindale
