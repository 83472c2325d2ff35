#include "memexp/memoryfile.h"

#include <optional>
#include <vector>

namespace orrindale {

namespace {

enum Key { kProtect = 0, kRegister = 1, kProgram = 2, kCallTop = 3, kCall = 4, kCurrent = 5 };
constexpr int kFileRows = 64;

std::string Fields(std::initializer_list<int> values) {
    std::string text;
    for (int v : values)
        text += std::to_string(v) + "~";
    return text;
}

// The first count fields of a line as integers, or nothing when one is missing or no integer.
std::optional<std::vector<int>> IntegerFields(const std::string& text, int count) {
    std::vector<int> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!ParseDecimal(GetTildeField(text, i), values[static_cast<size_t>(i)]))
            return std::nullopt;
    return values;
}

std::optional<int> Single(const std::string& text) {
    int value = 0;
    if (!ParseDecimal(text, value)) return std::nullopt;
    return value;
}

// Applies one line; false when it breaks a rule. Beyond the file's own checks, every value is
// held to what the memory can use: a start register outside the memory, a protect line past
// it or a return address outside the register file would send a later call out of bounds.
// Words keep their six bits, as register words do everywhere.
bool ApplyLine(int key, const std::string& text, MemoryImage& image, int& registers, int& calls) {
    switch (key) {
    case kProtect: {
        const auto v = Single(text);
        if (!v || *v < 0 || *v > kMemRegisters) return false;
        image.protectLine = *v;
        return true;
    }
    case kRegister: {
        const auto words = IntegerFields(text, kWords);
        if (!words || registers >= kMemRegisters) return false;
        TCalcRegister& r = image.memWords[static_cast<size_t>(registers++)];
        for (int w = 0; w < kWords; ++w)
            r[w] = (*words)[static_cast<size_t>(w)] & kWordMask;
        return true;
    }
    case kProgram: {
        const auto v = IntegerFields(text, 2);
        if (!v || (*v)[1] < 0 || (*v)[1] >= kMemRegisters) return false;
        image.progDirectory.push_back({(*v)[0], (*v)[1]});
        return true;
    }
    case kCallTop: {
        const auto v = Single(text);
        if (!v || *v < 0 || *v >= kCallDepth) return false;
        image.callTop = *v;
        return true;
    }
    case kCall: {
        const auto v = IntegerFields(text, 3);
        if (!v || calls >= kCallDepth) return false;
        const int row = (*v)[1], step = (*v)[2];
        if (row < 0 || row >= kFileRows || step < 0 || step >= kWords) return false;
        image.callStack[static_cast<size_t>(calls++)] = {(*v)[0], row, step};
        return true;
    }
    case kCurrent: {
        const auto v = Single(text);
        if (!v || *v < 0 || *v > kMaxProgramNumber) return false;
        image.currentProgram = *v;
        return true;
    }
    default: return true; // other keys are not ours
    }
}

} // namespace

TextList MemoryFileLines(const MemoryImage& image, bool full) {
    TextList lines;
    lines.push_back(LineKey(kProtect) + std::to_string(image.protectLine));
    for (const TCalcRegister& r : image.memWords) {
        std::string text = LineKey(kRegister);
        for (int w = 0; w < kWords; ++w)
            text += std::to_string(r[w]) + "~";
        lines.push_back(std::move(text));
    }
    for (const MemoryImage::Program& p : image.progDirectory)
        lines.push_back(LineKey(kProgram) + Fields({p.Number, p.Start}));
    if (!full) return lines;
    lines.push_back(LineKey(kCallTop) + std::to_string(image.callTop));
    for (const MemoryImage::Call& c : image.callStack)
        lines.push_back(LineKey(kCall) + Fields({c.Caller, c.Row, c.Step}));
    lines.push_back(LineKey(kCurrent) + std::to_string(image.currentProgram));
    return lines;
}

MemoryLoad ReadMemoryLines(const TextList& lines, MemoryImage& image) {
    MemoryImage read;
    int registers = 0, calls = 0;
    for (std::string line : lines) {
        const int key = TakeLineKey(line, true);
        if (key < 0) continue;
        if (!ApplyLine(key, line, read, registers, calls)) return MemoryLoad::Damaged;
    }
    image = std::move(read);
    return MemoryLoad::Loaded;
}

MemoryLoad LoadMemoryFile(const std::string& path, MemoryImage& image) {
    TextList lines;
    if (!LoadScrambledTextList(path, lines, kMemoryFileLimits)) return MemoryLoad::Unreadable;
    return ReadMemoryLines(lines, image);
}

bool SaveMemoryFile(const std::string& path, const MemoryImage& image, bool full) {
    return SaveScrambledTextList(path, MemoryFileLines(image, full));
}

} // namespace orrindale
