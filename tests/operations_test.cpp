// The operations the panel calls instead of writing engine fields: switches, wheel, run speed,
// listings.
#include <gtest/gtest.h>

#include "fake_host.h"

using namespace orrindale;
using orrindale::testing::Machine;

TEST(PanelOperations, WheelIsHeldToItsStops) {
    struct Case {
        int value, wheel;
        bool turned;
    };
    for (Case c : {Case{5, 5, true}, Case{2, 2, false}, Case{-3, 0, true}, Case{12, 9, true}}) {
        Machine m; // wheel at 2
        EXPECT_EQ(m.calc.SetDecimalWheel(c.value), c.turned) << c.value;
        EXPECT_EQ(m.calc.DecimalWheel, c.wheel) << c.value;
    }
}

TEST(PanelOperations, SwitchesReportWhetherTheyMoved) {
    Machine m;
    EXPECT_TRUE(m.calc.SetAngleMode(true));
    EXPECT_FALSE(m.calc.SetAngleMode(true));
    EXPECT_TRUE(m.calc.RadMode);
    EXPECT_TRUE(m.calc.SetDisplayMode(true));
    EXPECT_FALSE(m.calc.SetDisplayMode(true));
    EXPECT_TRUE(m.calc.FloatMode);
    EXPECT_TRUE(m.calc.SetProgramMode(true));
    EXPECT_FALSE(m.calc.SetProgramMode(true));
}

TEST(PanelOperations, PowerSwitchOffStopsTheLoopAndOnResumes) {
    Machine m;
    m.Program("1 Add GoTo 0 0");
    m.host.onPump = [&] {
        if (m.calc.StepsExecuted > 100 && m.calc.PowerOn) m.calc.SetPowerSwitch(false);
    };
    m.Keys("Cont");
    m.Tick();
    EXPECT_FALSE(m.calc.PowerOn);
    EXPECT_TRUE(m.calc.Running); // to go on at the next power-on
    const uint64_t stepsOff = m.calc.StepsExecuted;
    m.host.onPump = [&] {
        if (m.calc.StepsExecuted > stepsOff + 100) m.Keys("Stop");
    };
    EXPECT_TRUE(m.calc.SetPowerSwitch(true));
    EXPECT_FALSE(m.calc.SetPowerSwitch(true));
    m.Tick();
    EXPECT_GT(m.calc.StepsExecuted, stepsOff + 100);
}

TEST(PanelOperations, RunSpeedSetsThePassesBetweenSleeps) {
    Machine m;
    m.calc.ApplyRunSpeed(100);
    EXPECT_EQ(m.calc.RunSpeed, 100);
    EXPECT_EQ(m.calc.StepsPerSleep, Calculator::ComputeStepsPerSleep(100));
}

TEST(PanelOperations, AbandonedRunRequestRunsNothing) {
    Machine m;
    m.Program("1 Add GoTo 0 0");
    m.Keys("Cont");
    m.calc.AbandonRun();
    m.Tick();
    EXPECT_FALSE(m.calc.Running);
    EXPECT_EQ(m.calc.StepsExecuted, 0u);
}

TEST(PanelOperations, ListingFromRunModeGivesZBackAndClearsX) {
    Machine m;
    m.Keys("5 SHUP SHUP 7");
    ASSERT_TRUE(m.calc.BeginListing());
    EXPECT_EQ(m.calc.ListingMode, 2);
    EXPECT_FALSE(m.calc.BeginListing());          // one listing at a time
    EXPECT_EQ(m.Top().substr(4, 9), "MMMMMMMMM"); // program steps on top
    m.calc.ZReg = m.calc.YReg;
    m.calc.EndListing();
    EXPECT_EQ(m.calc.ListingMode, 0);
    EXPECT_EQ(Machine::Value(m.calc.ZReg), 5.0L);
    EXPECT_EQ(m.X(), 0.0L);
}

TEST(PanelOperations, ListingFromProgramModeKeepsZAside) {
    Machine m;
    m.Keys("5 SHUP SHUP");
    m.calc.SetProgramMode(true);
    ASSERT_TRUE(m.calc.BeginListing());
    EXPECT_EQ(m.calc.ListingMode, 1);
    ASSERT_TRUE(ExtToReg(m.calc.ZReg, 3.0L));
    m.calc.EndListing();
    EXPECT_EQ(Machine::Value(m.calc.ZSave), 3.0L);
}

TEST(PanelOperations, NoListingWhileAProgramRuns) {
    Machine m;
    m.calc.Running = true;
    EXPECT_FALSE(m.calc.BeginListing());
    EXPECT_EQ(m.calc.ListingMode, 0);
}
