// The run loop's pacer against a clock the test moves.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "engine/pacer.h"

using namespace orrindale;
using namespace std::chrono_literals;

namespace {
// A clock that only moves when work is done or a sleep ends, each sleep a little late.
struct FakeTime {
    Pacer::TimePoint now{};
    std::chrono::nanoseconds lateness = 500us;
    std::vector<Pacer::TimePoint> sleptUntil;
    Pacer MakePacer() {
        return Pacer([this] { return now; },
                     [this](Pacer::TimePoint until) {
                         sleptUntil.push_back(until);
                         now = until + lateness;
                     });
    }
};
} // namespace

TEST(Pacer, WorkAndLatenessDoNotAddUpOverManyPeriods) {
    FakeTime t;
    Pacer pacer = t.MakePacer();
    const Pacer::TimePoint start = t.now;
    for (int i = 0; i < 100; ++i) {
        t.now += 2ms; // the passes between two sleeps
        pacer.SleepUntilNextMark(30ms);
    }
    // Sleeping "for" 30 ms would have taken 100 x 32.5 ms.
    EXPECT_EQ(t.sleptUntil.back() - start, 2ms + 100 * 30ms);
}

TEST(Pacer, BehindByLessThanAPeriodCatchesUpWithoutSleeping) {
    FakeTime t;
    Pacer pacer = t.MakePacer();
    pacer.SleepUntilNextMark(30ms);
    const Pacer::TimePoint mark = t.sleptUntil.back();
    t.now += 40ms; // a long message pass
    pacer.SleepUntilNextMark(30ms);
    EXPECT_EQ(t.sleptUntil.size(), 1u); // already past the next mark
    pacer.SleepUntilNextMark(30ms);
    EXPECT_EQ(t.sleptUntil.back(), mark + 60ms); // still on the grid
}

TEST(Pacer, FarBehindStartsTheGridAfresh) {
    FakeTime t;
    Pacer pacer = t.MakePacer();
    pacer.SleepUntilNextMark(30ms);
    t.now += 5s; // the program stopped and was started again
    const Pacer::TimePoint restart = t.now;
    pacer.SleepUntilNextMark(30ms);
    EXPECT_EQ(t.sleptUntil.back(), restart + 30ms);
}
