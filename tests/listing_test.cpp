// Program listings: addresses, instruction names, and reading listings back, hand-written ones
// included.
#include <gtest/gtest.h>

#include "engine/calculator.h"
#include "engine/null_host.h"
#include "viewer/listing.h"
#include "viewer/viewtable.h"

namespace orrindale::listing {
namespace {

TEST(Listing, AddressesAndLines) {
    const struct {
        int n;
        const char* address;
        MemoryPlace place;
    } cases[] = {{0, "+0.0", {0, 0}},     {13, "+0.d", {0, 13}},  {14, "+1.0", {1, 0}},
                 {195, "+d.d", {13, 13}}, {196, "-0.0", {16, 0}}, {391, "-d.d", {29, 13}}};
    for (const auto& c : cases) {
        EXPECT_EQ(AddressText(c.n), c.address);
        EXPECT_EQ(PlaceOfStep(c.n).Row, c.place.Row) << c.n;
        EXPECT_EQ(PlaceOfStep(c.n).Step, c.place.Step) << c.n;
    }
    EXPECT_EQ(ListingLine(0, "33", "Add"), "+0.0 33 Add");
    EXPECT_EQ(ListingLine(391, "00", ""), "-d.d 00 ");
}

TEST(Listing, InstructionLookUp) {
    const struct {
        const char* text;
        int code;
    } cases[] = {{"", 0},      {"Add", 033},      {"aDD", 033}, {"Ex", 074},
                 {"End", 046}, {"Step Prgm", -1}, {"Add ", -1}, {"Adder", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(LookUpInstruction(c.text), c.code) << '"' << c.text << '"';
    // Every key name but STEP PRGM reads back to its own code.
    for (TKeyCode code = 1; code < 64; ++code)
        EXPECT_EQ(LookUpInstruction(InstructionOf(code)), code) << code;
}

TEST(Listing, ReadingHandWrittenLines) {
    const struct {
        std::vector<std::string> lines;
        int step; // where the instruction lands
        std::string instruction;
        const char* error; // "" when the whole text was read
    } cases[] = {
        {{"+0.0 33 Add"}, 0, "Add", ""},
        {{"+0.3", "33 Add"}, 3, "Add", ""},
        {{"add"}, 0, "add", ""},
        {{"33"}, 0, "Add", ""},
        {{"Ex"}, 0, "Ex", ""},
        {{"+0.0 Ex"}, 0, "Ex", ""},
        {{"+0.0 74"}, 0, InstructionOf(074), ""},
        {{"+0.2\tPi\x01"}, 2, "Pi", ""},
        {{" +0.2 Pi"}, 0, "", "Invalid code found -  +0.2 Pi"},
        {{"", "   ", "Add"}, 0, "Add", ""},
        {{"Add", "+e.0 Add"}, 0, "Add", "Invalid address found - +e.0 Add"},
        {{"Add", "+0.0 78"}, 0, "Add", "Invalid octal code found - +0.0 78"},
        {{"Add", "+0.1 33 Adder"}, 0, "Add", "Invalid code found - Adder"},
        {{"-d.d Add", "Sub"}, 391, "Add", "Invalid code found - Sub"},
        {{"-d.d Add", "Add"}, 391, "Add", ""},
    };
    for (const auto& c : cases) {
        const ReadResult r = LoadTextListing(c.lines);
        const std::string where = c.lines.back();
        EXPECT_EQ(r.Complete, std::string(c.error).empty()) << where;
        EXPECT_EQ(r.Error, c.error) << where;
        ASSERT_EQ(r.Instructions.size(), 392u);
        EXPECT_EQ(r.Instructions[static_cast<size_t>(c.step)], c.instruction) << where;
        EXPECT_EQ(r.Codes[static_cast<size_t>(c.step)], LookUpInstruction(c.instruction));
        // Nothing else was filled.
        EXPECT_EQ(std::count_if(r.Instructions.begin(), r.Instructions.end(),
                                [](const std::string& s) { return !s.empty(); }),
                  c.instruction.empty() ? 0 : 1)
            << where;
    }
    EXPECT_TRUE(LoadTextListing({"+0.5"}).Instructions[5].empty()); // only moves
}

TEST(Listing, WrittenLinesReadBackToTheSameProgram) {
    NullEngineHost host;
    Calculator calc(host);
    calc.ResetMachine();
    for (int n = 0; n < kSteps; n += 7)
        WriteStep(calc, n, (n * 5) % 64);
    const auto codes = ReadProgram(calc);
    std::vector<std::string> lines;
    for (int n = 0; n < kSteps; ++n) {
        const TKeyCode code = codes[static_cast<size_t>(n)];
        lines.push_back(ListingLine(n, FormatKeyCode(code), InstructionOf(code)));
    }
    const ReadResult r = LoadTextListing(lines);
    ASSERT_TRUE(r.Complete) << r.Error;
    EXPECT_TRUE(std::equal(r.Codes.begin(), r.Codes.end(), codes.begin()));
}

} // namespace
} // namespace orrindale::listing

namespace orrindale {
namespace {

TEST(ViewTable, EditingSendingAndListing) {
    ViewTable t;
    ASSERT_EQ(t.Rows(), 392);
    EXPECT_EQ(t.Code(5), "00"); // as with the calculator off
    EXPECT_EQ(t.Instruction(5), "");
    t.SetInstruction(0, "add");
    EXPECT_EQ(t.Code(0), "33");
    t.SetInstruction(10, "Adder");
    EXPECT_EQ(t.Code(10), "00");
    EXPECT_FALSE(t.Valid(10));
    EXPECT_EQ(t.FirstInvalid(), 10);

    std::vector<int> written;
    EXPECT_EQ(t.SendTo([&](int row, TKeyCode) { written.push_back(row); }), 10);
    EXPECT_TRUE(written.empty()); // memory keeps its old program whole
    t.SetInstruction(10, "Subtract");
    EXPECT_EQ(t.SendTo([&](int row, TKeyCode code) { written.push_back(row * 100 + code); }), -1);
    ASSERT_EQ(written.size(), 392u);
    EXPECT_EQ(written[0], 033);
    EXPECT_EQ(written[10], 1000 + 034);
    t.SetInstruction(10, "Adder");

    EXPECT_EQ(t.Lines(true).size(), 392u); // no END: every row
    t.SetInstruction(3, "End");
    EXPECT_EQ(t.Lines(true).size(), 4u);
    EXPECT_EQ(t.Lines()[0], "+0.0 33 add");
    EXPECT_EQ(t.DecimalCodes()[3], 046);
    EXPECT_EQ(t.DecimalCodes()[10], 0);

    ViewTable expanded(true);
    ASSERT_EQ(expanded.Rows(), 3472);
    EXPECT_EQ(expanded.Address(0), "  0.0");
    EXPECT_EQ(expanded.Address(3471), "247.d");
}

} // namespace
} // namespace orrindale
