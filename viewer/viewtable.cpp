#include "viewer/viewtable.h"

#include "common/hpdata.h"

namespace orrindale {

namespace {
constexpr TKeyCode kEndCode = 046;

std::string ExpandedAddress(int n) {
    return PadIntLeft(n / listing::kStepsPerRow, 3, ' ') + '.' +
           HexDigitLower(n % listing::kStepsPerRow);
}
} // namespace

ViewTable::ViewTable(bool expanded) : expanded_(expanded) {
    rows_.resize(expanded ? kExpandedSteps : listing::kSteps);
    for (int n = 0; n < Rows(); ++n)
        rows_[static_cast<size_t>(n)].address =
            expanded ? ExpandedAddress(n) : listing::AddressText(n);
    Clear();
}

void ViewTable::Clear() {
    for (Row& r : rows_) {
        r.code = "00";
        r.instruction.clear();
    }
}

void ViewTable::Fill(const std::vector<TKeyCode>& codes) {
    Clear();
    for (size_t n = 0; n < rows_.size() && n < codes.size(); ++n) {
        const TKeyCode code = codes[n] & 077;
        rows_[n].code = FormatKeyCode(code);
        rows_[n].instruction = listing::InstructionOf(code);
    }
}

void ViewTable::SetInstruction(int row, std::string text) {
    Row& r = rows_[static_cast<size_t>(row)];
    r.instruction = std::move(text);
    const int code = listing::LookUpInstruction(r.instruction);
    r.code = FormatKeyCode(code < 0 ? 0 : code);
}

void ViewTable::Take(const listing::ReadResult& read) {
    Clear();
    for (size_t n = 0; n < rows_.size() && n < read.Instructions.size(); ++n)
        SetInstruction(static_cast<int>(n), read.Instructions[n]);
}

int ViewTable::FirstInvalid() const {
    for (int n = 0; n < Rows(); ++n)
        if (!Valid(n)) return n;
    return -1;
}

int ViewTable::SendTo(const std::function<void(int, TKeyCode)>& write) const {
    // Checked before the first write: stopping half-way would leave memory holding the front
    // of the new program behind the tail of the old one.
    if (const int bad = FirstInvalid(); bad >= 0) return bad;
    for (int n = 0; n < Rows(); ++n)
        write(n, listing::LookUpInstruction(Instruction(n)));
    return -1;
}

std::vector<std::string> ViewTable::Lines(bool untilEnd) const {
    std::vector<std::string> lines;
    for (const Row& r : rows_) {
        lines.push_back(r.address + ' ' + r.code + ' ' + r.instruction);
        if (untilEnd && ParseOctal(r.code, -1) == kEndCode) break;
    }
    return lines;
}

std::vector<int> ViewTable::DecimalCodes() const {
    std::vector<int> codes;
    codes.reserve(rows_.size());
    for (const Row& r : rows_)
        codes.push_back(r.instruction.empty() ? 0 : ParseOctal(r.code, 64));
    return codes;
}

} // namespace orrindale
