#include "engine/keys.h"

#include <algorithm>
#include <cctype>

namespace orrindale {

// clang-format off
const std::array<TKeyCode, kKeyCount + 1> KeyCodeOf = {
    0,
    // Row 1
    062, 055, 072, 013, 014, 030, 076, 032, 026, 037, 020, 043, 054,
    // Row 2
    066, 064, 067, 016, 017, 031, 035, 007, 010, 011, 042, 052, 057,
    // Row 3
    061, 074, 070, 012, 015, 022, 036, 004, 005, 006, 045, 050, 041,
    // Row 4
    063, 065, 073, 040, 024, 025, 034, 001, 002, 003, 077, 053, 046,
    // Row 5
    060, 075, 071, 023, 051, 027, 033, 000, 021, 056, 047, 044, 0,
};

const std::array<const char*, kKeyCount + 6> KeyNames = {
    "",
    "To Polar", "|Y|", "Arc", "a", "b", "x<->y", "Sqrt", "Chg Sign", "Enter Exp", "Clear X",
    "Clear", "If Flag", "Set Flag",
    "To Rect", "INTx", "Hyper", "c", "d", "Roll Down", "Divide", "7", "8", "9", "FMT",
    "If X<Y", "Pause",
    "RCL", "Ex", "SinX", "e", "f", "Roll Up", "Multiply", "4", "5", "6", "Print Space",
    "If X=Y", "Stop",
    "ACC-", "LNx", "CosX", "Y->[]", "Y<->[]", "Shift Down", "Subtract", "1", "2", "3",
    "Sub Return", "If X>Y", "End",
    "ACC+", "LOGx", "TanX", "X->[]", "X<-[]", "Shift Up", "Add", "0", ".", "Pi", "Cont",
    "GoTo", "Step Prgm",
    "y->[", "y<->[", "x->[", "x<-[", "goto",
};

const std::array<const char*, kKeyCount> KeyMnemonics = {
    "",
    "Pol", "|Y|", "arc", "a", "b", "x<>y", "Sqrt", "Chs", "Exp", "ClrX", "Clr", "IfFg", "StFg",
    "Rec", "INTx", "Hyp", "c", "d", "RLD", "Div", "7", "8", "9", "FMT", "X<Y?", "Pse",
    "RCL", "Ex", "SINx", "e", "f", "RLU", "Mul", "4", "5", "6", "PSpc", "X=Y?", "Stop",
    "ACC-", "LNx", "COSx", "Y>[]", "Y<>[]", "SHDN", "Sub", "1", "2", "3", "SRet", "X>Y?", "End",
    "ACC+", "LOGx", "TANx", "X>[]", "X<[]", "SHUP", "Add", "0", ".", "Pi", "Cont", "GoTo",
};
// clang-format on

namespace {
std::array<int, kKeyCount + 1> MakeBusyRows() {
    std::array<int, kKeyCount + 1> rows{};
    using namespace keypos;
    const std::pair<TKeyPos, int> entries[] = {
        {ToPolar, 20}, {A, 2},    {B, 2},        {XExchangeY, 2}, {Sqrt, 2},     {ToRect, 20},
        {C, 2},        {D, 2},    {RollDown, 3}, {Divide, 2},     {Pause, 8},    {ExpX, 7},
        {SinX, 10},    {E, 2},    {F, 2},        {RollUp, 3},     {Multiply, 2}, {LnX, 4},
        {CosX, 10},    {LogX, 5}, {TanX, 10}};
    for (auto [position, count] : entries)
        rows[static_cast<size_t>(position)] = count;
    return rows;
}

std::array<TKeyPos, 64> MakeKeyPosOf() {
    std::array<TKeyPos, 64> positions{};
    for (TKeyPos p = 1; p < kStepPrgmPos; ++p)
        positions[static_cast<size_t>(KeyCodeOf[static_cast<size_t>(p)])] = p;
    return positions;
}
} // namespace

const std::array<int, kKeyCount + 1> KeyBusyRows = MakeBusyRows();
const std::array<TKeyPos, 64> KeyPosOf = MakeKeyPosOf();

std::string KeyName(TKeyCode code) {
    if (code < 0 || code > 63) return "";
    return KeyNames[static_cast<size_t>(KeyPosOf[static_cast<size_t>(code)])];
}

std::string KeyMnemonic(TKeyPos position) {
    if (position < 1 || position > 64) return "";
    return KeyMnemonics[static_cast<size_t>(position)];
}

std::optional<TKeyPos> KeyPosFromMnemonic(std::string_view name) {
    auto same = [name](std::string_view other) {
        return name.size() == other.size() &&
               std::equal(name.begin(), name.end(), other.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    if (same("Step")) return keypos::StepPrgm;
    for (TKeyPos p = 1; p < kStepPrgmPos; ++p)
        if (same(KeyMnemonics[static_cast<size_t>(p)])) return p;
    return std::nullopt;
}

std::string FormatKeyCode(int value, int width) {
    std::string digits;
    for (unsigned v = static_cast<unsigned>(value < 0 ? 0 : value); v != 0; v /= 8)
        digits.insert(digits.begin(), static_cast<char>('0' + v % 8));
    while (static_cast<int>(digits.size()) < width)
        digits.insert(digits.begin(), '0');
    return digits;
}

char AddressChar(int value) {
    if (value >= 0 && value <= 9) return static_cast<char>('0' + value);
    if (value >= 10 && value <= 13) return static_cast<char>('a' + value - 10);
    return '?';
}

std::string FormatAddress(int row, int step) {
    std::string text;
    text += row >= 16 ? '-' : '+';
    text += AddressChar(row >= 16 ? row - 16 : row);
    text += '.';
    text += AddressChar(step);
    return text;
}

} // namespace orrindale
