// Paced speed of the run loop: an endless loop of additions runs for a few seconds with real
// sleeps and no messages, and the passes per second are set against the pace the loop keeps
// on the calculator, (StepsPerSleep + 1) passes per 30 ms. Sleeping until the next 30 ms mark
// should give a ratio of 1.00; sleeping for 30 ms each time is shown beside it.
//
//   pacing_bench [seconds] [run speed]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "engine/calculator.h"
#include "engine/null_host.h"
#include "engine/pacer.h"

using namespace orrindale;
using Clock = std::chrono::steady_clock;

namespace {

class PacedHost : public NullEngineHost {
public:
    explicit PacedHost(bool untilMark) : untilMark_(untilMark) {}
    bool timer = false;
    std::vector<Clock::time_point> wakes; // when each sleep ended

    void StartChgModeTimer() override { timer = true; }
    void StopChgModeTimer() override { timer = false; }
    void Sleep(int milliseconds) override {
        if (untilMark_)
            pacer_.SleepUntilNextMark(std::chrono::milliseconds(milliseconds));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        wakes.push_back(Clock::now());
    }

private:
    bool untilMark_;
    Pacer pacer_;
};

void Measure(const char* name, bool untilMark, double seconds, int runSpeed) {
    PacedHost host(untilMark);
    Calculator calc(host);
    calc.PowerOn = true;
    calc.ApplyRunSpeed(runSpeed);
    calc.SetProgramMode(true);
    for (const char* key : {"1", "Add", "GoTo", "0", "0"})
        calc.ExecuteKey(*KeyPosFromMnemonic(key));
    calc.SetProgramMode(false);
    calc.PcRow = calc.PcStep = 0;
    const double passesPerPeriod = calc.StepsPerSleep + 1;
    calc.StepLimit = static_cast<uint64_t>(passesPerPeriod * seconds / 0.030);
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point start = Clock::now();
    calc.ExecuteKey(keypos::Cont);
    while (host.timer)
        calc.ChgModeTimerTimer();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (host.wakes.size() < 2) {
        std::printf("%s: too short a run\n", name);
        return;
    }
    // Between the first and the last wake exactly StepsPerSleep + 1 passes ran per sleep.
    const double span =
        std::chrono::duration<double>(host.wakes.back() - host.wakes.front()).count();
    const double rate = static_cast<double>(host.wakes.size() - 1) * passesPerPeriod / span;
    const double ideal = passesPerPeriod / 0.030;
    std::printf("%-18s %6.2f s  %9.1f passes/s  ideal %9.1f  ratio %.4f  CPU %.1f%% of a core\n",
                name, wall, rate, ideal, rate / ideal, 100.0 * cpu / wall);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int runSpeed = argc > 2 ? std::atoi(argv[2]) : kDefaultRunSpeed;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: pacing_bench [seconds] [run speed]\n");
        return 2;
    }
    Measure("until next mark", true, seconds, runSpeed);
    Measure("for 30 ms", false, seconds, runSpeed);
    return 0;
}
