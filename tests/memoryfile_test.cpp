// The memory file: its two forms, and what a reader makes of damaged or hostile lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "memexp/memoryfile.h"

using namespace orrindale;

namespace {

MemoryImage Sample() {
    MemoryImage image;
    image.memWords[0][0] = 33;
    image.memWords[3][13] = 38;
    image.memWords[247][7] = 63;
    image.protectLine = 4;
    image.progDirectory = {{3, 0}, {12, 2}};
    image.callStack[0] = {3, 2, 8};
    image.callStack[13] = {12, 16, 0};
    image.callTop = 1;
    image.currentProgram = 12;
    return image;
}

// A register line: its first word, the other 13 zero.
std::string Register(const std::string& first) {
    std::string line = "001" + first + "~";
    for (int w = 1; w < kWords; ++w)
        line += "0~";
    return line;
}

// The lines of a file with one line added.
TextList With(TextList lines, const std::string& extra) {
    lines.push_back(extra);
    return lines;
}

} // namespace

TEST(MemoryFile, FullFormRoundTripsInTheTableOrder) {
    const TextList lines = MemoryFileLines(Sample(), true);
    ASSERT_EQ(lines.size(), 1u + 248 + 2 + 1 + 14 + 1);
    EXPECT_EQ(lines[0], "0004");
    EXPECT_EQ(lines[1], "00133~0~0~0~0~0~0~0~0~0~0~0~0~0~");
    EXPECT_EQ(lines[249], "0023~0~");
    EXPECT_EQ(lines[250], "00212~2~");
    EXPECT_EQ(lines[251], "0031");
    EXPECT_EQ(lines[252], "0043~2~8~");
    EXPECT_EQ(lines.back(), "00512");
    MemoryImage read;
    EXPECT_EQ(ReadMemoryLines(lines, read), MemoryLoad::Loaded);
    EXPECT_EQ(read, Sample());
}

TEST(MemoryFile, ShortFormLeavesTheCallStateCleared) {
    const TextList lines = MemoryFileLines(Sample(), false);
    EXPECT_EQ(lines.size(), 1u + 248 + 2);
    MemoryImage read = Sample();
    EXPECT_EQ(ReadMemoryLines(lines, read), MemoryLoad::Loaded);
    MemoryImage expected = Sample();
    expected.callStack = {};
    expected.callTop = 0;
    expected.currentProgram = 0;
    EXPECT_EQ(read, expected);
}

TEST(MemoryFile, LinesInAnyOrderAndUnknownKeys) {
    MemoryImage read;
    const TextList lines = {"0027~5~", Register("7"), "9999",   "x",
                            "0009",    Register("8"), "0021~0~"};
    EXPECT_EQ(ReadMemoryLines(lines, read), MemoryLoad::Loaded);
    EXPECT_EQ(read.protectLine, 9);
    EXPECT_EQ(read.memWords[0][0], 7);
    EXPECT_EQ(read.memWords[1][0], 8);
    EXPECT_EQ(read.progDirectory, (std::vector<MemoryImage::Program>{{7, 5}, {1, 0}}));
}

TEST(MemoryFile, DamagedListsLeaveTheMemoryAsItWas) {
    const TextList good = MemoryFileLines(Sample(), true);
    TextList tooMany = good;
    tooMany.insert(tooMany.begin() + 1, "0011~");
    const std::pair<const char*, TextList> cases[] = {
        {"249 registers", tooMany},
        {"current program 150", With(good, "005150")},
        {"current program -1", With(good, "005-1")},
        {"negative protect line", With(good, "000-1")},
        {"protect line past the memory", With(good, "000249")},
        {"call top 14", With(good, "00314")},
        {"15 call entries", With(good, "0041~0~0~")},
        {"call row outside the register file", With({}, "0041~64~0~")},
        {"call step 14", With({}, "0041~0~14~")},
        {"word not an integer", With({}, Register("x"))},
        {"register of 13 words", With({}, Register("1").substr(0, 29))},
        {"directory start 248", With({}, "0021~248~")},
        {"directory start negative", With({}, "0021~-1~")},
        {"directory with one field", With({}, "0021~")},
        {"protect line empty", With({}, "000")},
    };
    for (const auto& [name, lines] : cases) {
        MemoryImage read = Sample();
        EXPECT_EQ(ReadMemoryLines(lines, read), MemoryLoad::Damaged) << name;
        EXPECT_EQ(read, Sample()) << name;
    }
}

TEST(MemoryFile, WordsKeepTheirSixBits) {
    MemoryImage read;
    EXPECT_EQ(ReadMemoryLines({Register("100"), Register("-1")}, read), MemoryLoad::Loaded);
    EXPECT_EQ(read.memWords[0][0], 100 & 63);
    EXPECT_EQ(read.memWords[1][0], 63);
}

TEST(MemoryFile, SavedAndLoadedThroughTheFile) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "memexp_test_mmexdt.dat").string();
    ASSERT_TRUE(SaveMemoryFile(path, Sample(), true));
    MemoryImage read;
    EXPECT_EQ(LoadMemoryFile(path, read), MemoryLoad::Loaded);
    EXPECT_EQ(read, Sample());
    std::remove(path.c_str());
    EXPECT_EQ(LoadMemoryFile(path, read), MemoryLoad::Unreadable);
    EXPECT_EQ(read, Sample()); // nothing to read: nothing changed
    EXPECT_FALSE(SaveMemoryFile("/nonexistent-folder/x.exm", Sample(), false));
}
