// The program memory viewer's table without its window: one row per program step with its
// address, its code as two octal digits and its instruction as written. The window shows and
// edits it; the marked card editor uses one that is never shown to read a program text.
//
// Normal mode holds the calculator's 392 steps; expanded mode the 3472 steps of the extended
// memory (248 registers of 14 words, addresses "  0.0" to "247.d").
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/keys.h"
#include "viewer/listing.h"

namespace orrindale {

class ViewTable {
public:
    static constexpr int kExpandedRegisters = 248;
    static constexpr int kExpandedSteps = kExpandedRegisters * listing::kStepsPerRow;

    explicit ViewTable(bool expanded = false);

    bool Expanded() const { return expanded_; }
    int Rows() const { return static_cast<int>(rows_.size()); }
    const std::string& Address(int row) const { return At(row).address; }
    const std::string& Code(int row) const { return At(row).code; }
    const std::string& Instruction(int row) const { return At(row).instruction; }
    bool Valid(int row) const { return listing::LookUpInstruction(Instruction(row)) >= 0; }

    // Fills every row from the codes of memory, step 0 first ("00" and no instruction for a
    // row without a code: the calculator is off).
    void Fill(const std::vector<TKeyCode>& codes);
    // Every code "00", every instruction empty (the "New" command).
    void Clear();
    // An edited instruction: its code follows ("00" when it is no key name).
    void SetInstruction(int row, std::string text);
    // The instructions of a listing that was read (its codes follow them).
    void Take(const listing::ReadResult& read);

    // The first row whose instruction is no key name, or -1.
    int FirstInvalid() const;
    // Writes the codes into memory from row 0 on and returns -1; when a row is invalid, writes
    // nothing and returns the first such row.
    int SendTo(const std::function<void(int row, TKeyCode code)>& write) const;

    // Listing lines of all rows, or of the rows up to and including the first END.
    std::vector<std::string> Lines(bool untilEnd = false) const;
    // The codes as decimal numbers for marked cards: 0 for an empty instruction, otherwise the
    // code text read as octal, 64 when it cannot be read.
    std::vector<int> DecimalCodes() const;

private:
    struct Row {
        std::string address, code, instruction;
    };
    const Row& At(int row) const { return rows_[static_cast<size_t>(row)]; }

    bool expanded_;
    std::vector<Row> rows_;
};

} // namespace orrindale
