// Pacing against a monotonic clock. The run loop sleeps every so many passes; sleeping "for"
// the period would add the time of the passes, the message handling and the sleep's own
// lateness to every period, and a program would run slower than its pace. The pacer sleeps
// until the next mark of a regular grid instead, so those times are absorbed.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace orrindale {

class Pacer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;
    using Sleeper = std::function<void(TimePoint)>; // sleeps until the time given

    // The steady clock and a thread sleep.
    Pacer();
    // A clock and a sleeper of the caller's, for tests.
    Pacer(Clock clock, Sleeper sleepUntil);

    // Sleeps until the next mark, one period after the last. Behind the grid by less than a
    // period, it returns at once and the grid stays; behind by more (a program stopped and
    // started again, a long message pass), the grid starts afresh from now rather than
    // hurrying through the lost time.
    void SleepUntilNextMark(std::chrono::nanoseconds period);

private:
    Clock clock_;
    Sleeper sleepUntil_;
    std::optional<TimePoint> next_;
};

} // namespace orrindale
