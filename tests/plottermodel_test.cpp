// The plotter model headless: commands, motion, pen, knobs, switches and the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plotter/plotfile.h"
#include "plotter/plottermodel.h"

namespace orrindale {
namespace {

using plot::PointEntry;

struct RecordingView : PlotterView {
    std::vector<std::string> sounds;
    int lines = 0, dots = 0, closeReady = 0, feedStarts = 0;
    bool shownDown = false;
    void LineDrawn(int, int, int, int) override { ++lines; }
    void DotDrawn(int, int) override { ++dots; }
    void PenShown(bool down) override { shownDown = down; }
    void PlaySound(const char* name) override { sounds.emplace_back(name); }
    void FeedSound(bool play) override { feedStarts += play ? 1 : 0; }
    void CloseReady() override { ++closeReady; }
};

// A plotter switched on, ON, knobs centred, pen at the zero, record naming the pen up.
struct Plotter : ::testing::Test {
    RecordingView view;
    PlotterModel m{&view};
    void SetUp() override {
        m.CalcPowerChanged(true);
        m.SetMode(true, false);
        m.CentreControls();
        m.Finish();
        m.plotRecord = {plot::kPenUp};
        m.RecordReplaced();
        view = {};
    }
    PlotterReply Run(int mode, int x, int y, int wheel = 2) {
        const PlotterReply r = m.PlotterCommand(mode, wheel, x, y, false, false);
        m.Finish();
        return r;
    }
    std::vector<int32_t> Since(size_t from) const {
        return {m.plotRecord.begin() + static_cast<long>(from), m.plotRecord.end()};
    }
};

TEST_F(Plotter, ShiftUpToTheZeroGoesToTheMiddleAndRecordsStartAndEnd) {
    m.penX = m.penY = 0;
    EXPECT_EQ(Run(3, 0, 0), PlotterReply::Taken);
    EXPECT_EQ(m.penX, 3750);
    EXPECT_EQ(m.penY, 2500);
    EXPECT_EQ(Since(1), (std::vector<int32_t>{PointEntry(0, 0), PointEntry(3750, 2500)}));
}

TEST_F(Plotter, TwoShiftDownsRecordTheMoveThenTheLine) {
    Run(2, 100, 200);
    Run(2, 300, 400);
    const int32_t p1 = PointEntry(3850, 2700), p2 = PointEntry(4050, 2900);
    EXPECT_EQ(Since(1), (std::vector<int32_t>{PointEntry(3750, 2500), p1, plot::kPenDown, p1, p2}));
    EXPECT_GT(view.lines, 0);
    EXPECT_EQ(view.sounds, std::vector<std::string>{"ppd"});
}

TEST_F(Plotter, CommandToWherePenStandsRecordsNothingButShiftDownLowersThePen) {
    EXPECT_EQ(Run(3, 0, 0), PlotterReply::Taken);
    EXPECT_EQ(m.plotRecord.size(), 1u);
    Run(2, 0, 0);
    EXPECT_EQ(Since(1), std::vector<int32_t>{plot::kPenDown});
    EXPECT_EQ(view.lines, 0);
}

TEST_F(Plotter, TargetsAreClampedAndTrimmed) {
    struct Case {
        int knob3, x, expectX;
    } cases[] = {{125, 15000, 7500},
                 {125, -20000, 0},
                 {250, 1000, 4770},
                 {250, -1000, 2770},
                 {0, 1000, 4730}};
    for (const Case& c : cases) {
        m.SetKnob(3, c.knob3);
        Run(3, c.x, 0);
        EXPECT_EQ(m.penX, c.expectX) << c.knob3 << " " << c.x;
    }
}

TEST_F(Plotter, AnErroneousCommandLightsTheLampLiftsThePenAndStaysPut) {
    Run(2, 0, 0); // pen down
    struct Case {
        int wheel, x, y;
    } bad[] = {{7, 10, 10}, {2, 100001, 0}, {2, 0, -100001}};
    for (const Case& c : bad) {
        m.errorLamp = false;
        Run(2, 0, 0);
        EXPECT_EQ(Run(2, c.x, c.y, c.wheel), PlotterReply::Taken);
        EXPECT_TRUE(m.errorLamp);
        EXPECT_FALSE(m.penDown);
        EXPECT_EQ(m.penX, 3750);
    }
    // With the lamp lit a further bad command moves, pen up; a good one puts the lamp out.
    Run(2, 500, 0, 9);
    EXPECT_EQ(m.penX, 4250);
    EXPECT_FALSE(m.penDown);
    Run(2, 0, 0, 6);
    EXPECT_FALSE(m.errorLamp);
    EXPECT_TRUE(m.penDown);
}

TEST_F(Plotter, StandbyRefusesEverythingAndReportsOff) {
    m.SetMode(false, true);
    for (int mode : {1, 2, 3})
        EXPECT_EQ(m.PlotterCommand(mode, 2, 1, 1, false, false), PlotterReply::Refused);
    EXPECT_EQ(m.State(), PlotterStatus::Off);
    EXPECT_EQ(view.sounds, std::vector<std::string>{"swc"});
}

TEST_F(Plotter, MovesAnswerBusyDuringAMotionAndTheStateSaysSo) {
    EXPECT_EQ(m.PlotterCommand(3, 2, 3000, 0, false, false), PlotterReply::Taken);
    EXPECT_EQ(m.State(), PlotterStatus::Busy);
    EXPECT_EQ(m.PlotterCommand(2, 2, 0, 0, false, false), PlotterReply::Busy);
    m.Finish();
    EXPECT_EQ(m.State(), PlotterStatus::Ready);
}

TEST_F(Plotter, EachTickAdvancesTheLongerAxisByTheStepsGiven) {
    m.PlotterCommand(3, 2, 1000, 400, false, false);
    m.Tick(50);
    EXPECT_EQ(m.penX, 3800);
    EXPECT_EQ(m.penY, 2520);
    EXPECT_EQ(view.feedStarts, 1); // 1400 units: the carriage sound plays
}

TEST_F(Plotter, StopWithThePenDownLiftsItAndHomesWithoutRecordingPoints) {
    Run(2, 100, 100);
    const size_t before = m.plotRecord.size();
    view.sounds.clear();
    EXPECT_EQ(Run(1, 0, 0), PlotterReply::Taken);
    EXPECT_EQ(Since(before), std::vector<int32_t>{plot::kPenUp});
    EXPECT_EQ(view.sounds, std::vector<std::string>{"ppu"});
    EXPECT_EQ(m.penX, 3750);
}

TEST_F(Plotter, StopDuringAShiftDownRecordsWhereItStoppedAndLeavesThePenUp) {
    m.PlotterCommand(2, 2, 1000, 0, false, false);
    m.Tick(400);
    EXPECT_EQ(m.PlotterCommand(1, 2, 0, 0, false, false), PlotterReply::Taken);
    m.Finish();
    EXPECT_EQ(Since(1), (std::vector<int32_t>{PointEntry(3750, 2500), PointEntry(4150, 2500)}));
    EXPECT_FALSE(m.penDown);
}

TEST_F(Plotter, StandbyOrPowerOffCutsAMotionShortLiftsThePenAndRecordsIt) {
    struct Case {
        bool power, penDown;
    };
    for (const Case c :
         {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SetUp();
        if (c.penDown) Run(2, 0, 0);
        m.PlotterCommand(2, 2, 2000, 0, false, false);
        m.Tick(100);
        if (c.power)
            m.CalcPowerChanged(false);
        else
            m.SetMode(false, false);
        EXPECT_FALSE(m.Tick(100));
        EXPECT_EQ(m.penX, 3850);
        EXPECT_FALSE(m.penDown);
        EXPECT_FALSE(view.shownDown);
        // Where it stopped, then the pen up if it was down: never lowered after the cut.
        std::vector<int32_t> end{PointEntry(3850, 2500)};
        if (c.penDown) end.push_back(plot::kPenUp);
        EXPECT_EQ(Since(m.plotRecord.size() - end.size()), end);
        // Back in service, the pen goes home without a line.
        const int lines = view.lines;
        if (c.power)
            m.CalcPowerChanged(true);
        else
            m.SetMode(true, false);
        m.Finish();
        EXPECT_EQ(m.penX, 3750);
        EXPECT_EQ(view.lines, lines);
    }
}

TEST_F(Plotter, AFreshPlotsFirstMoveWithThePenUpIsNotReplayedAsALine) {
    m.NewPlot();
    Run(3, 100, 0);
    EXPECT_EQ(m.plotRecord[3], plot::kPenUp);
    EXPECT_FALSE(RecordPenDown(m.plotRecord));
}

TEST_F(Plotter, ThePenButtonDotsOnlyInStandbyPoweredWithThePenUp) {
    struct Case {
        bool on, power, down, dots;
    } cases[] = {{true, true, false, false},
                 {false, false, false, false},
                 {false, true, true, false},
                 {false, true, false, true}};
    for (const Case& c : cases) {
        m.modeOn = c.on;
        m.powerLamp = c.power;
        m.penDown = c.down;
        const size_t before = m.plotRecord.size();
        EXPECT_EQ(m.PenDot(), c.dots);
        // A dot names its place first, which the record had not reached yet.
        const std::vector<int32_t> dot{PointEntry(m.penX, m.penY), plot::kDot};
        EXPECT_EQ(Since(before), c.dots ? dot : std::vector<int32_t>{});
    }
}

TEST_F(Plotter, TheKnobsSetZeroAndTrimAndThePenFollowsOnlyWhenOn) {
    m.KnobPress(1, 100, true);
    m.KnobMove(1, 120); // 125 + 20
    m.Finish();
    EXPECT_EQ(m.zeroX, 145 * 30);
    EXPECT_EQ(m.penX, 145 * 30);
    m.KnobMove(1, 400); // clamped at 250
    m.KnobRelease(1);
    EXPECT_EQ(m.knobBase[1], 250);
    m.Finish();
    EXPECT_EQ(m.penX, 7500);
    EXPECT_EQ(m.plotRecord.size(), 1u); // nothing recorded
    m.SetMode(false, false);
    m.SetKnob(2, 0);
    EXPECT_EQ(m.zeroY, 0);
    EXPECT_FALSE(m.moving);
    EXPECT_EQ(m.penY, 2500);
    m.KnobPress(3, 10, false); // another button: no drag
    m.KnobMove(3, 50);
    EXPECT_EQ(m.knobValue[3], 125);
}

TEST_F(Plotter, ArmAndHolderStopsMapToTheSheetEdges) {
    m.SetMode(false, false);
    ASSERT_TRUE(m.CanPositionByHand());
    struct Case {
        int pixel, expect;
    } arm[] = {{0, 0}, {660, 7500}, {-75, 0}, {815, 7500}}, holder[] = {{0, 5000}, {440, 0}};
    for (const Case& c : arm) {
        m.DragArmTo(c.pixel);
        EXPECT_EQ(m.penX, c.expect) << c.pixel;
    }
    for (const Case& c : holder) {
        m.DragHolderTo(c.pixel);
        EXPECT_EQ(m.penY, c.expect) << c.pixel;
    }
}

TEST_F(Plotter, CloseDuringAMotionStopsItLiftsThePenAndRefusesFurtherCommands) {
    // Both commands: moving with the pen up, and drawing; neither lowers the pen afterwards.
    for (const bool drawing : {false, true}) {
        SetUp();
        if (drawing) Run(2, 0, 0); // the pen down at the zero
        m.PlotterCommand(drawing ? 2 : 3, 2, 2000, 0, false, false);
        m.Tick(10);
        m.StopForClose();
        EXPECT_FALSE(m.moving);
        EXPECT_FALSE(m.penDown);
        EXPECT_EQ(m.plotRecord.back(), drawing ? plot::kPenUp : PointEntry(m.penX, m.penY));
        EXPECT_FALSE(RecordPenDown(m.plotRecord));
        // The window arms its close once the user has answered.
        EXPECT_EQ(view.closeReady, 0);
        EXPECT_EQ(m.PlotterCommand(3, 2, 0, 0, false, false), PlotterReply::Refused);
    }
}

TEST_F(Plotter, NewPlotAndMenuChoicesRecordTheirEntries) {
    m.penIndex = 0;
    m.gridIndex = 0;
    m.NewPlot();
    EXPECT_EQ(m.plotRecord, (std::vector<int32_t>{-31, -32, -64}));
    EXPECT_FALSE(m.plotChanged);
    EXPECT_EQ(FormatPlotRecord(m.plotRecord), (TextList{"-31", "-32", "-64"}));
    m.ChoosePen(0); // recorded even when unchanged
    m.ChooseGrid(2);
    EXPECT_EQ(Since(3), (std::vector<int32_t>{-64, -34}));
    EXPECT_TRUE(m.plotChanged);
}

TEST(PlotterPower, PowerOnHomesInOnModeAndPowerOffShowsThePenUp) {
    RecordingView view;
    PlotterModel m(&view);
    m.SetMode(true, false);
    m.knobValue[1] = 10;
    m.ApplyKnobsAndPen();
    m.CalcPowerChanged(true);
    m.Finish();
    EXPECT_EQ(m.penX, 300);
    EXPECT_TRUE(m.plotRecord.empty());
    m.PenDown();
    m.CalcPowerChanged(false);
    EXPECT_FALSE(view.shownDown);
    EXPECT_FALSE(m.powerLamp);
}

} // namespace
} // namespace orrindale
