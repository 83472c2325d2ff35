// Program listings: addresses, instruction names, and reading listings back, hand-written ones
// included.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "common/hpdata.h"
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
        {{" +0.2 Pi"}, 2, "Pi", ""},
        {{"\t+0.1 36 Multiply"}, 1, "Multiply", ""},
        {{"Add "}, 0, "Add", ""},
        {{" \t+0.4 \t 33 \t Add \t "}, 4, "Add", ""},
        {{"33  To Polar\t"}, 0, "To Polar", ""},
        {{"+0.1 33 Add  x"}, 0, "", "Invalid code found - Add  x"},
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
    // As written, and reindented or with blanks after the lines, as an editor may leave them.
    for (const auto& [before, after] :
         {std::pair<std::string, std::string>{"", ""}, {"\t", ""}, {"  ", " \t "}}) {
        std::vector<std::string> lines;
        for (int n = 0; n < kSteps; ++n) {
            const TKeyCode code = codes[static_cast<size_t>(n)];
            lines.push_back(before + ListingLine(n, FormatKeyCode(code), InstructionOf(code)) +
                            after);
        }
        const ReadResult r = LoadTextListing(lines);
        ASSERT_TRUE(r.Complete) << r.Error;
        EXPECT_TRUE(std::equal(r.Codes.begin(), r.Codes.end(), codes.begin()));
    }
}

// The example programs of the user guide, as their tables give them: "| 0.0 | SHIFT UP | Enter |
// 27 | ... |". Each program starts at address 0.0.
std::vector<std::vector<std::pair<std::string, int>>> GuidePrograms() {
    std::ifstream file(ORRINDALE_SOURCE_DIR "/docs/HP9100BHelp.md");
    std::stringstream text;
    text << file.rdbuf();
    const std::regex row(R"(^\| ([0-9a-d]\.[0-9a-d]) \| [^|]+ \| [^|]+ \| ([0-7]{2}) \|)");
    std::vector<std::vector<std::pair<std::string, int>>> programs;
    std::string line;
    while (std::getline(text, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, row)) continue;
        if (m[1] == "0.0") programs.emplace_back();
        if (!programs.empty()) programs.back().push_back({m[1], ParseOctal(m[2].str(), -1)});
    }
    return programs;
}

TEST(Listing, TheUserGuidesProgramsLoad) {
    const auto programs = GuidePrograms();
    ASSERT_EQ(programs.size(), 2u);
    for (const auto& program : programs) {
        // Written by hand as the guide shows them: "+0.3 36", and codes alone.
        std::vector<std::string> withAddresses, codesOnly;
        for (const auto& [address, code] : program) {
            withAddresses.push_back("+" + address + " " + FormatKeyCode(code));
            codesOnly.push_back(FormatKeyCode(code));
        }
        for (const auto& lines : {withAddresses, codesOnly}) {
            const ReadResult r = LoadTextListing(lines);
            ASSERT_TRUE(r.Complete) << r.Error;
            for (size_t n = 0; n < program.size(); ++n) {
                EXPECT_EQ(AddressText(static_cast<int>(n)), "+" + program[n].first);
                EXPECT_EQ(r.Codes[n], program[n].second) << program[n].first;
            }
            EXPECT_EQ(r.Codes[program.size()], 0);
        }
    }
}

TEST(Listing, FilesHoldTheWrittenLinesWithTheirLineEnds) {
    const std::string path = ::testing::TempDir() + "listing_file_test.txt";
    ASSERT_TRUE(WriteListingFile(path, {"+0.0 33 Add", "-d.d 00 "}));
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ(bytes.str(), "+0.0 33 Add\r\n-d.d 00 \r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadListingFile(path, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"+0.0 33 Add", "-d.d 00 "}));
    std::remove(path.c_str());
    EXPECT_FALSE(ReadListingFile(path, lines));
    EXPECT_FALSE(ReadListingFile(::testing::TempDir(), lines)); // a folder is no listing
    EXPECT_FALSE(WriteListingFile(::testing::TempDir() + "no/such/folder/x.txt", lines));
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
