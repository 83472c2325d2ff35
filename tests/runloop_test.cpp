// Programs running through the real run loop and mode-change timer.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "fake_host.h"

using namespace orrindale;
using orrindale::testing::Machine;

namespace {
// Counts to ten in register b: 0 -> b; loop: b + 1 -> b until 10 > b.
const char* kCountToTen = "0 X>[] b 1 SHUP b Add Y>[] b 1 0 X>Y? 0 3 End";
// Adds 1 to Y for ever: only STOP, the power switch or a close ends it.
const char* kForever = "1 Add GoTo 0 0";
} // namespace

TEST(RunLoop, StepsPerSleepFromTheSpeed) {
    EXPECT_EQ(Calculator::ComputeStepsPerSleep(55), 51);
    EXPECT_EQ(Calculator::ComputeStepsPerSleep(100), 110);
    EXPECT_EQ(Calculator::ComputeStepsPerSleep(200), 10);
    EXPECT_EQ(Calculator::ComputeStepsPerSleep(125), 125);
}

TEST(RunLoop, LoopUntilATestFails) {
    Machine m;
    m.Program(kCountToTen);
    m.Keys("Cont");
    EXPECT_TRUE(m.calc.Running);
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(Machine::Value(m.calc.RegisterFile[11]), 10.0L);
    EXPECT_EQ(m.calc.PcRow, 0);
    EXPECT_EQ(m.calc.PcStep, 0);
}

TEST(RunLoop, PacesWithSleepsAndMessagePasses) {
    Machine m;
    m.Program(kCountToTen);
    m.Keys("Cont");
    m.Tick();
    uint64_t passes = m.calc.StepsExecuted;
    EXPECT_GE(m.host.sleeps, static_cast<int>(passes / 52));
    EXPECT_GE(m.host.pumps, static_cast<int>(passes / 35));
}

TEST(RunLoop, SubroutineCallAndReturn) {
    Machine m;
    // Row 0: call row 1 step 0, then stop. Row 1: 5 into X, return.
    m.Program("GoTo SRet 1 0 Stop");
    m.calc.SetProgramMode(true);
    m.calc.PcRow = 1;
    m.calc.PcStep = 0;
    m.Keys("5 SRet");
    m.calc.SetProgramMode(false);
    m.calc.PcRow = m.calc.PcStep = 0;
    m.Keys("Cont");
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.X(), 5.0L);
    EXPECT_EQ(m.calc.PcStep, 5); // past the STOP step
}

TEST(RunLoop, PauseKeepsTheDisplayLitAcrossTwoPauses) {
    Machine m;
    m.Program("7 Pse Pse Stop");
    m.Keys("Cont");
    int drawnBefore = static_cast<int>(m.host.drawn.size());
    m.Tick();
    // Each pause drew the lines once; the display was not blanked between them.
    EXPECT_EQ(static_cast<int>(m.host.drawn.size()) - drawnBefore, 3); // two pauses, the stop
    EXPECT_EQ(m.X(), 7.0L);
}

TEST(RunLoop, PrintingProgramWaitsForEachFeed) {
    Machine m;
    m.host.feedAtOnce = false;
    m.host.printSwitch[1] = m.host.printSwitch[2] = false;
    std::vector<int> stepsAtFeed;
    int pumpsSeen = 0;
    m.host.onPump = [&] {
        // The feed timer: a line each few message passes.
        if (++pumpsSeen % 3 == 0 && m.host.feeding) {
            stepsAtFeed.push_back(static_cast<int>(m.calc.StepsExecuted));
            m.host.FeedOne();
        }
    };
    m.Program("1 PSpc 2 PSpc 3 PSpc Stop");
    m.Keys("Cont");
    m.Tick();
    ASSERT_EQ(m.host.printed.size(), 3u);
    EXPECT_EQ(m.host.printed[0], "SSSSSSSS1PSS");
    EXPECT_EQ(m.host.printed[2], "SSSSSSSS3PSS");
    // No step ran while a line was waiting: each feed happened right after its print step.
    EXPECT_EQ(stepsAtFeed, (std::vector<int>{2, 4, 6}));
}

TEST(RunLoop, PrintWithPrinterOffStopsTheProgram) {
    Machine m;
    m.host.printerOn = false;
    m.Program("1 PSpc 2 Stop");
    m.Keys("Cont");
    m.Tick();
    EXPECT_EQ(m.X(), 1.0L);
    EXPECT_TRUE(m.host.printed.empty());
}

TEST(RunLoop, ErrorDoesNotStopAProgramAndTheLampWaitsForAKey) {
    Machine m;
    m.Program("1 SHUP 0 Div 5 Stop");
    m.Keys("Cont");
    m.Tick();
    EXPECT_EQ(m.X(), 5.0L);
    EXPECT_TRUE(m.calc.ErrorLit);
    m.Keys("7");
    EXPECT_FALSE(m.calc.ErrorLit);
    EXPECT_EQ(m.X(), 5.0L);
}

TEST(RunLoop, StopKeyDuringARun) {
    Machine m;
    m.Program(kForever);
    m.host.onPump = [&] {
        if (m.calc.StepsExecuted > 200) m.Keys("Stop");
    };
    m.Keys("Cont");
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_GT(m.Y(), 30.0L);
}

TEST(Power, OffAndOnResumesAProgramInRunMode) {
    Machine m;
    m.Program(kForever);
    m.host.onPump = [&] {
        if (m.calc.StepsExecuted > 100 && m.calc.PowerOn) m.calc.RequestPower(false);
    };
    m.Keys("Cont");
    m.Tick();
    EXPECT_FALSE(m.calc.PowerOn);
    EXPECT_TRUE(m.calc.Running); // kept, to resume
    long double y = m.Y();
    m.host.onPump = nullptr;
    m.calc.StepLimit = m.calc.StepsExecuted + 50;
    m.calc.RequestPower(true);
    m.Tick(1);
    EXPECT_TRUE(m.calc.PowerOn);
    EXPECT_GT(m.Y(), y);
    EXPECT_EQ(m.host.powerSwitches.back(), (std::pair<bool, bool>{true, true}));
}

TEST(Power, ProgramDoesNotResumeInPrgmMode) {
    Machine m;
    m.Program(kForever);
    m.calc.Running = true; // interrupted by a power-off
    m.calc.PowerOn = false;
    m.calc.ProgramMode = true;
    m.calc.RequestPower(true);
    m.Tick();
    EXPECT_EQ(m.calc.StepsExecuted, 0u);
}

TEST(Power, OnWhileOnRunsTheSequenceWithoutTheSwitchSound) {
    Machine m;
    m.calc.ErrorAtPowerOn = true;
    m.calc.RequestPower(true);
    m.Tick();
    EXPECT_EQ(m.host.powerSwitches.back(), (std::pair<bool, bool>{true, false}));
    EXPECT_TRUE(m.calc.ErrorLit); // the saved lamp comes back once
    EXPECT_FALSE(m.calc.ErrorAtPowerOn);
}

TEST(Close, DuringARunStopsFirstThenCloses) {
    Machine m;
    m.Program(kForever);
    m.host.onPump = [&] {
        if (m.calc.StepsExecuted > 50) m.calc.PendingAction |= pending::Close;
    };
    m.Keys("Cont");
    m.Tick();
    EXPECT_EQ(m.host.closes, 1);
    EXPECT_FALSE(m.calc.Running);
    EXPECT_TRUE(m.calc.RunAtPowerOn);
}

TEST(Plotter, BusyPlotterMakesTheStepWaitAndSwitchedOffStops) {
    Machine m;
    m.host.plotter = true;
    m.host.plotterPort.reply = PlotterReply::Busy;
    m.host.plotterPort.state = PlotterStatus::Busy;
    m.Program("FMT SHUP 5 Stop");
    m.Keys("Cont");
    m.Tick(3);
    EXPECT_TRUE(m.host.timerActive); // polling
    EXPECT_TRUE(m.calc.Running);
    m.host.plotterPort.state = PlotterStatus::Off; // switched off meanwhile
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_NE(m.X(), 5.0L);
}

TEST(Plotter, ACommandTheBusyPlotterRefusedIsSentAgainWhenItIsReady) {
    Machine m;
    m.host.plotter = true;
    m.host.plotterPort.reply = PlotterReply::Busy;
    m.host.plotterPort.state = PlotterStatus::Busy;
    m.Program("2 SHUP 3 FMT SHDN 5 Stop");
    m.Keys("Cont");
    m.Tick(3);
    ASSERT_EQ(m.host.plotterPort.commands.size(), 1u);
    m.host.plotterPort.reply = PlotterReply::Taken;
    m.host.plotterPort.state = PlotterStatus::Ready;
    m.Tick(3);
    // Shift Down again with the same X and Y, then the program's STOP homes the pen.
    ASSERT_EQ(m.host.plotterPort.commands.size(), 3u);
    EXPECT_EQ(m.host.plotterPort.commands[1], (std::vector<int>{2, 2, 3, 2}));
    EXPECT_EQ(m.host.plotterPort.commands[2][0], 1);
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.X(), 5.0L); // the stack was not shifted: 5 keyed over the 3
}

TEST(Plotter, AMoveTheProgramStartedHoldsTheNextStepUntilThePenArrives) {
    Machine m;
    m.host.plotter = true;
    m.host.plotterPort.state = PlotterStatus::Busy; // each taken move keeps it busy
    m.Program("2 SHUP 3 FMT SHDN 5 Stop");
    m.Keys("Cont");
    m.Tick(3);
    ASSERT_EQ(m.host.plotterPort.commands.size(), 1u);
    EXPECT_TRUE(m.calc.Running);
    EXPECT_EQ(m.X(), 3.0L); // the 5 waits for the pen
    m.host.plotterPort.state = PlotterStatus::Ready;
    m.Tick();
    // The move is not sent again; the STOP step comes only now and homes the pen.
    ASSERT_EQ(m.host.plotterPort.commands.size(), 2u);
    EXPECT_EQ(m.host.plotterPort.commands[1][0], 1);
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.X(), 5.0L);
    EXPECT_EQ(m.Y(), 2.0L);
}

TEST(Plotter, StopByHandDuringTheWaitSendsThePenHomeAndEndsTheWait) {
    Machine m;
    m.host.plotter = true;
    m.host.plotterPort.state = PlotterStatus::Busy;
    m.Program("2 SHUP 3 FMT SHDN 5 Stop");
    m.Keys("Cont");
    m.Tick(3);
    m.Keys("Stop");
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.calc.PendingAction & pending::WaitPlotter, 0);
    EXPECT_EQ(m.host.plotterPort.commands.back()[0], 1);
}

TEST(Timer, ReleaseRequestsAreNotLostAmongOtherBits) {
    Machine m;
    m.calc.PendingAction = pending::ReleasePlotter | pending::PowerOn;
    m.host.timerActive = true;
    m.Tick();
    EXPECT_EQ(m.host.released, (std::vector<int>{pending::ReleasePlotter}));
    EXPECT_TRUE(m.calc.PowerOn);
}

TEST(StepPrgm, RunModeExecutesOneStep) {
    Machine m;
    m.Program("4 SHUP 3 Add");
    m.Keys("Step Step Step");
    EXPECT_EQ(m.calc.PcStep, 3);
    EXPECT_EQ(m.X(), 3.0L);
    EXPECT_EQ(m.Y(), 4.0L);
    m.Keys("Step");
    EXPECT_EQ(m.Y(), 7.0L);
}

TEST(Power, PowerOnForgetsAListingWithoutEndingIt) {
    Machine m;
    m.calc.ListingMode = 2;
    ASSERT_TRUE(ExtToReg(m.calc.XReg, 5.0L));
    m.calc.RequestPower(true);
    m.Tick();
    EXPECT_EQ(m.calc.ListingMode, 0);
    EXPECT_EQ(m.X(), 5.0L); // no switch action: X is kept
}

TEST(Power, SwitchingOffDuringAPlotterWaitIsNotLost) {
    Machine m;
    m.host.plotter = true;
    m.host.plotterPort.reply = PlotterReply::Busy;
    m.host.plotterPort.state = PlotterStatus::Busy;
    m.Program("FMT SHUP 5 Stop");
    m.Keys("Cont");
    m.Tick(3);
    ASSERT_TRUE(m.host.timerActive); // waiting for the plotter
    const int waitingStep = m.calc.PcStep;
    m.calc.RequestPower(false);
    m.Tick(3);
    EXPECT_FALSE(m.calc.PowerOn);
    EXPECT_TRUE(m.calc.Running); // to resume at the next power-on
    EXPECT_EQ(m.calc.PcStep, waitingStep);
}

TEST(Timer, AReleaseDuringARunLetsTheProgramGoOn) {
    Machine m;
    m.Program(kForever);
    bool released = false;
    m.host.onPump = [&] {
        if (!released && m.calc.StepsExecuted > 50) {
            released = true;
            m.calc.PendingAction |= pending::ReleaseCardReader;
        }
        if (m.calc.StepsExecuted > 400) m.Keys("Stop");
    };
    m.Keys("Cont");
    m.Tick();
    EXPECT_EQ(m.host.released, (std::vector<int>{pending::ReleaseCardReader}));
    EXPECT_GT(m.calc.StepsExecuted, 400u); // the run went on after the release
}

TEST(ByHand, GoToThenContRunsTheAddressedStepOnce) {
    Machine m;
    m.Program("1 Stop");
    m.Keys("GoTo 0 0 Cont");
    m.Tick();
    EXPECT_EQ(m.X(), 1.0L); // not 11: the first step ran once
    m.Keys("GoTo 0 0 Step");
    EXPECT_EQ(m.calc.PcStep, 1); // stepping from a keyed address moves on too
}

namespace {
struct CancelCase {
    const char* name;
    std::function<void(Machine&)> between; // what happens after CONT, before the timer fires
};

class RunRequest : public ::testing::TestWithParam<CancelCase> {};

TEST_P(RunRequest, IsCancelledBeforeTheTimerFires) {
    Machine m;
    m.Program(kForever);
    m.Keys("Cont");
    GetParam().between(m);
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.calc.StepsExecuted, 0u);
    EXPECT_EQ(m.calc.PendingAction & pending::Run, 0);
}

const CancelCase kCancels[] = {
    {"Stop", [](Machine& m) { m.Keys("Stop"); }},
    {"ProgramSwitch", [](Machine& m) { m.calc.SetProgramMode(true); }},
    {"ProgramModeSetDirectly", [](Machine& m) { m.calc.ProgramMode = true; }},
    {"MemoryReset", [](Machine& m) { m.calc.ResetMachine(); }},
};

INSTANTIATE_TEST_SUITE_P(RunLoop, RunRequest, ::testing::ValuesIn(kCancels),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace

TEST(RunLoop, MemoryResetForgetsTheRunAtPowerOn) {
    Machine m;
    m.calc.PowerOn = false;
    m.calc.RunAtPowerOn = true;
    m.calc.ResetMachine();
    m.calc.RequestPower(true);
    m.Tick();
    EXPECT_TRUE(m.calc.PowerOn);
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.calc.StepsExecuted, 0u);
}

TEST(RunLoop, StepsPerSleepStaysPositiveForAnySpeed) {
    for (int speed : {205, 250, 300, 398, 450, 1000, 123456789, INT_MAX, INT_MIN, -5, 0}) {
        const int steps = Calculator::ComputeStepsPerSleep(speed);
        EXPECT_GE(steps, 1) << speed;
        EXPECT_LE(steps, kMaxStepsPerSleep) << speed;
    }
}
