// Plot records and plotter settings as lines, and the replay of a record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plotter/plotfile.h"
#include "plotter/plottermodel.h"

namespace orrindale {
namespace {

TEST(PlotFile, RecordLinesAreCheckedBeforeAnythingChanges) {
    struct Case {
        TextList lines;
        bool ok;
    } cases[] = {{{"-31", "-32", "-67", std::to_string(25 * 65536 + 100)}, true},
                 {{"-1"}, true},
                 {{"-255"}, true},
                 {{"-31", "-300"}, false},
                 {{"-31", "abc"}, false},
                 {{"-31", ""}, false},
                 {{"99999999999"}, false}};
    for (const Case& c : cases) {
        std::vector<int32_t> record{7};
        EXPECT_EQ(ParsePlotRecord(c.lines, record), c.ok) << c.lines.back();
        if (c.ok) {
            EXPECT_EQ(FormatPlotRecord(record), c.lines);
        } else {
            EXPECT_EQ(record, std::vector<int32_t>{7});
        }
    }
}

struct Trace : ReplaySink {
    std::vector<std::string> calls;
    void Grid(int g) override { calls.push_back("grid" + std::to_string(g)); }
    void Colour(int p) override { calls.push_back("pen" + std::to_string(p)); }
    void Dot(int x, int y) override {
        calls.push_back("dot" + std::to_string(x) + "," + std::to_string(y));
    }
    void Point(int, int, int x, int y, bool draw) override {
        calls.push_back((draw ? "line" : "move") + std::to_string(x) + "," + std::to_string(y));
    }
};

TEST(PlotFile, ReplayDecodesEveryEntryInOrder) {
    const std::vector<int32_t> record{-31,
                                      -33,
                                      -66,
                                      plot::PointEntry(10, 20),
                                      plot::PointEntry(30, 40),
                                      -16,
                                      plot::PointEntry(50, 60),
                                      -128,
                                      -1,
                                      -31,
                                      plot::PointEntry(70, 80)};
    Trace t;
    ReplayRecord(record, t);
    EXPECT_EQ(t.calls, (std::vector<std::string>{"grid1", "pen2", "move10,20", "line30,40",
                                                 "move50,60", "dot50,60", "line70,80"}));
}

TEST(PlotSettings, WrittenSettingsReadBackTheSame) {
    PlotSettings s;
    for (size_t k = 1; k <= 4; ++k)
        s.knobBase[k] = s.knobValue[k] = 125;
    s.knobValue[2] = 90;
    s.paperHeld = true;
    s.modeOn = true;
    s.penIndex = 2;
    s.gridIndex = 1;
    s.penX = 3750;
    s.penY = 12;
    s.plotSpeed = 120;
    s.placed = true; // a window left partly off the screen's left edge
    s.left = -120;
    s.top = 40;
    const TextList lines = FormatPlotSettings(s);
    EXPECT_EQ(lines.back(), "008-120~40~");
    EXPECT_EQ(lines[0], "000125~125~125~90~125~125~125~125~");
    EXPECT_EQ(lines[1], "0010");
    EXPECT_EQ(lines[2], "0020");
    PlotSettings back;
    ParsePlotSettings(lines, back);
    EXPECT_EQ(FormatPlotSettings(back), lines);
}

TEST(PlotSettings, DamagedOrMissingLinesFallBack) {
    struct Case {
        TextList lines;
        int knob1, pen, grid, speed;
        bool held, on;
    } cases[] = {
        {{}, 0, 0, 0, 50, false, false},
        {{"003", "007x"}, 0, 3, 0, 50, false, false},
        // A damaged knob text resets the knobs and skips the lines after it.
        {{"000125~125~1x~125~125~125~125~125~", "0032"}, 0, 0, 0, 50, false, false},
        {{"0009~9~", "0032"}, 0, 0, 0, 50, false, false},
        {{"000500~500~0~0~0~0~0~0~", "0010", "0020", "0039", "0047", "007300"},
         250,
         3,
         0,
         300,
         true,
         true},
        {{"xyz", "001-1", "002abc", "0041"}, 0, 0, 1, 50, false, false},
    };
    for (const Case& c : cases) {
        PlotSettings s;
        ParsePlotSettings(c.lines, s);
        EXPECT_EQ(s.knobValue[1], c.knob1);
        EXPECT_EQ(s.penIndex, c.pen);
        EXPECT_EQ(s.gridIndex, c.grid);
        EXPECT_EQ(s.plotSpeed, c.speed);
        EXPECT_EQ(s.paperHeld, c.held);
        EXPECT_EQ(s.modeOn, c.on);
        EXPECT_FALSE(s.placed);
    }
    // Half a place is no place: the window opens beside the calculator.
    PlotSettings half;
    ParsePlotSettings({"00812~"}, half);
    EXPECT_FALSE(half.placed);
}

} // namespace
} // namespace orrindale
