// Unpaced speed of the run loop: how many program steps per second the engine executes when
// its sleeps and message passes return at once.
//
//   steps_bench [steps]
//
// (a) a loop of additions and register stores, (b) a loop of trigonometric functions (each
// of which also waits out its simulated computing time in loop passes).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "engine/calculator.h"
#include "engine/null_host.h"

using namespace orrindale;

namespace {

// The run loop's pacing passes in no time; only the mode-change timer is followed.
class QuietHost : public NullEngineHost {
public:
    bool timer = false;
    void StartChgModeTimer() override { timer = true; }
    void StopChgModeTimer() override { timer = false; }
};

TKeyPos PositionOf(const std::string& mnemonic) {
    if (auto p = KeyPosFromMnemonic(mnemonic)) return *p;
    std::fprintf(stderr, "no key %s\n", mnemonic.c_str());
    std::exit(2);
}

double Measure(const char* name, const std::string& setup, const std::string& program,
               uint64_t steps) {
    QuietHost host;
    Calculator calc(host);
    calc.PowerOn = true;
    std::istringstream keys(setup);
    for (std::string k; keys >> k;)
        calc.ExecuteKey(PositionOf(k));
    calc.SetProgramMode(true);
    std::istringstream prog(program);
    for (std::string k; prog >> k;)
        calc.ExecuteKey(PositionOf(k));
    calc.SetProgramMode(false);
    calc.PcRow = calc.PcStep = 0;
    calc.StepLimit = steps;
    auto start = std::chrono::steady_clock::now();
    calc.ExecuteKey(keypos::Cont);
    while (host.timer)
        calc.ChgModeTimerTimer();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double rate = static_cast<double>(calc.StepsExecuted) / seconds;
    std::printf("%-34s %10llu steps in %7.3f s: %12.0f steps/s\n", name,
                static_cast<unsigned long long>(calc.StepsExecuted), seconds, rate);
    return rate;
}

} // namespace

int main(int argc, char** argv) {
    uint64_t steps = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 5000000;
    if (steps == 0) steps = 5000000;
    Measure("(a) additions and register stores", "1 . 5",
            "Add X>[] 5 Add Y>[] 6 Add X>[] Sub 7 GoTo 0 0", steps);
    Measure("(b) trigonometric functions", ". 5", "SINx COSx TANx arc SINx GoTo 0 0", steps / 100);
    return 0;
}
