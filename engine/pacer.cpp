#include "engine/pacer.h"

#include <thread>
#include <utility>

namespace orrindale {

Pacer::Pacer()
    : Pacer([] { return std::chrono::steady_clock::now(); },
            [](TimePoint until) { std::this_thread::sleep_until(until); }) {}

Pacer::Pacer(Clock clock, Sleeper sleepUntil)
    : clock_(std::move(clock)), sleepUntil_(std::move(sleepUntil)) {}

void Pacer::SleepUntilNextMark(std::chrono::nanoseconds period) {
    const TimePoint now = clock_();
    if (next_) *next_ += period;
    if (!next_ || now - *next_ > period) next_ = now + period;
    if (*next_ > now) sleepUntil_(*next_);
}

} // namespace orrindale
