#include "viewer/listing.h"

#include <algorithm>
#include <cctype>

#include "common/atomicfile.h"
#include "common/hpdata.h"
#include "engine/calculator.h"

namespace orrindale::listing {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool OctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// A row or step character of an address, "0"-"9" or "a"-"d" in either case; -1 otherwise.
int AddressDigit(char c) {
    const int v = HexDigitValue(c);
    return v >= 0 && v <= 13 ? v : -1;
}

// A line without the blanks around it; CleanText has already made its tabs spaces.
std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void DropLeadingSpaces(std::string& text) {
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
}

// The parts of reading one line; each returns false after setting the error.
struct LineReader {
    int& position;
    std::vector<std::string>& instructions;
    std::string error;

    // Takes an address off the front; false for a bad one.
    bool TakeAddress(std::string& text) {
        if (text.size() <= 3 || text[2] != '.' || (text[0] != '+' && text[0] != '-')) return true;
        const int row = AddressDigit(text[1]), step = AddressDigit(text[3]);
        if (row < 0 || step < 0) {
            error = "Invalid address found - " + text;
            return false;
        }
        position = row * kStepsPerRow + step + (text[0] == '-' ? kHalfSteps : 0);
        text.erase(0, 4);
        DropLeadingSpaces(text);
        return true;
    }

    bool Read(const std::string& filtered) {
        std::string text = filtered;
        if (!TakeAddress(text)) return false;
        if (text.empty()) return true; // only moved the position
        std::string instruction;
        if (text.size() == 2 && !SameIgnoringCase(text, "ex") && !SameIgnoringCase(text, "pi")) {
            if (!OctalDigit(text[0]) || !OctalDigit(text[1])) {
                error = "Invalid octal code found - " + Lower(filtered);
                return false;
            }
            instruction = InstructionOf(ParseOctal(text, 0));
        } else {
            // An optional code before the name is dropped unread.
            if (text.size() > 2 && text[2] == ' ' && OctalDigit(text[0]) && OctalDigit(text[1])) {
                text.erase(0, 3);
                DropLeadingSpaces(text);
            }
            if (LookUpInstruction(text) < 0) {
                error = "Invalid code found - " + text;
                return false;
            }
            instruction = text;
        }
        if (position < kSteps) instructions[static_cast<size_t>(position)] = instruction;
        ++position;
        return true;
    }
};

} // namespace

MemoryPlace PlaceOfStep(int n) {
    if (n < kHalfSteps) return {n / kStepsPerRow, n % kStepsPerRow};
    return {16 + (n - kHalfSteps) / kStepsPerRow, n % kStepsPerRow};
}

std::string AddressText(int n) {
    const int inHalf = n % kHalfSteps;
    std::string text(1, n < kHalfSteps ? '+' : '-');
    text += HexDigitLower(inHalf / kStepsPerRow);
    text += '.';
    text += HexDigitLower(inHalf % kStepsPerRow);
    return text;
}

int LookUpInstruction(std::string_view text) {
    if (text.empty()) return 0;
    for (TKeyPos p = 1; p < kStepPrgmPos; ++p)
        if (SameIgnoringCase(text, KeyNames[static_cast<size_t>(p)]))
            return KeyCodeOf[static_cast<size_t>(p)];
    return -1;
}

std::string InstructionOf(TKeyCode code) {
    if (code <= 0 || code > 63) return std::string();
    return KeyNames[static_cast<size_t>(KeyPosOf[static_cast<size_t>(code)])];
}

std::string ListingLine(int n, std::string_view codeText, std::string_view instruction) {
    std::string line = AddressText(n);
    line += ' ';
    line += codeText;
    line += ' ';
    line += instruction;
    return line;
}

std::array<TKeyCode, kSteps> ReadProgram(const Calculator& calc) {
    std::array<TKeyCode, kSteps> codes{};
    for (int n = 0; n < kSteps; ++n) {
        const MemoryPlace at = PlaceOfStep(n);
        codes[static_cast<size_t>(n)] =
            calc.RegisterFile[static_cast<size_t>(at.Row)][at.Step] & 077;
    }
    return codes;
}

void WriteStep(Calculator& calc, int n, TKeyCode code) {
    const MemoryPlace at = PlaceOfStep(n);
    calc.RegisterFile[static_cast<size_t>(at.Row)][at.Step] = code;
}

ReadResult LoadTextListing(const std::vector<std::string>& lines) {
    ReadResult result;
    result.Instructions.assign(kSteps, std::string());
    int position = 0;
    LineReader reader{position, result.Instructions, {}};
    for (const std::string& line : lines) {
        // Blanks around a line, as a reindented or hand-written listing has them, are not
        // part of it; those between its fields are dropped as each field is taken.
        const std::string filtered = Trimmed(CleanText(line));
        if (filtered.empty()) continue;
        if (!reader.Read(filtered)) {
            result.Complete = false;
            result.Error = reader.error;
            break;
        }
    }
    result.Codes.reserve(kSteps);
    for (const std::string& instruction : result.Instructions)
        result.Codes.push_back(std::max(0, LookUpInstruction(instruction)));
    return result;
}

std::string ListingText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

bool ReadListingFile(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxListingBytes)) return false;
    lines = SplitLines(bytes);
    return true;
}

bool WriteListingFile(const std::string& path, const std::vector<std::string>& lines) {
    return WriteFileAtomically(path, ListingText(lines));
}

} // namespace orrindale::listing
