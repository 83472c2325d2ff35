// A recording host for engine tests: it remembers what the engine asked for, feeds the
// paper when told to, and lets tests play the plotter, the extended memory and held keys.
#pragma once

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/calculator.h"

namespace orrindale::testing {

// A plotter that records its commands and answers as the test says.
class FakePlotter : public PlotterPort {
public:
    std::vector<std::vector<int>> commands; // command, wheel, x, y
    PlotterReply reply = PlotterReply::Taken;
    PlotterStatus state = PlotterStatus::Ready;

    PlotterReply Command(PlotterCommand command, int wheel, int x, int y) override {
        commands.push_back({static_cast<int>(command), wheel, x, y});
        return reply;
    }
    PlotterStatus State() const override { return state; }
};

// An extended memory that records the operations asked of it. Its program calls do to the
// program memory lent with them what the memory does: FMT FMT reads the steps from the counter
// on up to END and leaves the counter on the END, a call puts `called` in from step 0, a return
// puts `caller` in and sets the counter to `back`.
class FakeExtMemory : public ExtMemoryPort {
public:
    std::vector<std::string> calls;
    bool on = false;
    ExtResult reply = ExtResult::Done;
    std::vector<int32_t> stored;         // what FMT FMT read
    std::vector<int32_t> called, caller; // what a call and a return load
    std::pair<int, int> back{0, 0};      // where a return leaves the counter

    bool On() const override { return on; }
    ExtResult Arith(long double& y, TCalcRegister&, int op) override {
        calls.push_back("arith" + std::to_string(op));
        y = 42;
        return reply;
    }
    ExtResult Pi(TCalcRegister&) override { return Record("pi"); }
    ExtResult SetFlag(TCalcRegister&) override { return Record("setflag"); }
    ExtResult StoreY(TCalcRegister&, TCalcRegister&) override { return Record("storey"); }
    ExtResult FmtFmt(TCalcRegister&, ProgramMemory program) override {
        stored.clear();
        for (int row = program.PcRow, step = program.PcStep;;) {
            stored.push_back(program.Steps[static_cast<size_t>(row)][step]);
            program.PcRow = row;
            program.PcStep = step;
            if ((stored.back() & kWordMask) == kEndCode) break;
            if (++step == kWords && (step = 0, ++row) == 64) break;
        }
        return Record("fmtfmt");
    }
    ExtResult GoTo(TCalcRegister&, ProgramMemory program) override {
        Put(called, program);
        return Record("goto");
    }
    ExtResult End(TCalcRegister&, ProgramMemory program) override {
        Put(caller, program);
        program.PcRow = back.first;
        program.PcStep = back.second;
        return Record("end");
    }
    void LampOff() override { calls.push_back("lampoff"); }

private:
    static constexpr int kEndCode = 38; // END, octal 46

    static void Put(const std::vector<int32_t>& codes, ProgramMemory program) {
        for (size_t i = 0; i < codes.size(); ++i)
            program.Steps[i / kWords][static_cast<int>(i % kWords)] = codes[i];
    }
    ExtResult Record(const char* name) {
        calls.emplace_back(name);
        return reply;
    }
};

class FakeHost : public EngineHost {
public:
    Calculator* calc = nullptr;

    // What happened.
    int redraws = 0;
    std::vector<DisplayTexts> drawn; // lines drawn while the display showed them
    std::vector<std::string> printed;
    std::vector<std::string> internalErrors;
    std::vector<std::pair<bool, bool>> powerSwitches; // (on, changed)
    int sleeps = 0, pumps = 0, closes = 0;
    std::vector<int> released;

    // What the test arranges.
    bool printerOn = true;
    bool printSwitch[3] = {true, true, true};
    bool feedAtOnce = true; // otherwise lines wait until FeedOne
    bool feeding = false;
    bool timerActive = false;
    int heldKey = 0;
    bool plotter = false, extMem = false; // whether the windows exist
    FakePlotter plotterPort;
    FakeExtMemory extPort;
    ExtMemoryPort* realExtMem = nullptr; // a real memory in place of the recording one
    std::function<void()> onPump;        // runs inside ProcessMessages
    bool drawTakesBusyTime = true;       // drawing passes the computing time at once

    void RedrawDisplay() override {
        ++redraws;
        if (calc && calc->DisplayShowsLines()) {
            if (drawTakesBusyTime) calc->BusyTicks = 0;
            drawn.push_back(calc->TakeDisplayLines());
        }
    }
    bool PrinterOn() const override { return printerOn; }
    bool PrintSwitch(int which) const override { return printSwitch[which]; }
    void StartPaperFeed() override {
        feeding = true;
        if (feedAtOnce)
            while (feeding)
                FeedOne();
    }
    void FeedOne() {
        if (calc->PrintQueue.empty()) {
            feeding = false;
            return;
        }
        printed.push_back(calc->PrintQueue.front());
        calc->PrintQueue.pop_front();
        if (calc->PrintQueue.empty()) feeding = false;
    }
    void StopPaperFeed() override { feeding = false; }
    bool PaperFeeding() const override { return feeding; }
    PlotterPort* Plotter() override { return plotter ? &plotterPort : nullptr; }
    ExtMemoryPort* ExtMemory() override {
        if (realExtMem) return realExtMem;
        return extMem ? &extPort : nullptr;
    }
    void StartChgModeTimer() override { timerActive = true; }
    void StopChgModeTimer() override { timerActive = false; }
    void Sleep(int) override { ++sleeps; }
    void ProcessMessages() override {
        ++pumps;
        if (onPump) onPump();
    }
    bool KeyHeld(int position) const override { return heldKey == position; }
    void PowerSwitched(bool on, bool changed) override { powerSwitches.push_back({on, changed}); }
    void CloseMainWindow() override { ++closes; }
    void ReleaseWindow(int bit) override { released.push_back(bit); }
    void ShowInternalError(const std::string& message) override {
        internalErrors.push_back(message);
    }
};

// An engine with its fake host, switched on in RUN, FIX, DEGREES, wheel 2.
struct Machine {
    FakeHost host;
    Calculator calc{host};

    Machine() {
        host.calc = &calc;
        calc.PowerOn = true;
        calc.DisplayOn = true;
    }

    // Presses keys named by their mnemonics, "Step", or "#N", separated by blanks. While a
    // program runs only STOP gets through, as on the panel.
    void Keys(const std::string& names) {
        std::istringstream in(names);
        std::string name;
        while (in >> name) {
            TKeyPos p = Position(name);
            if (calc.Running && p != keypos::Stop) continue;
            calc.ExecuteKeyByHand(p);
        }
    }

    // Fires the mode-change timer while it is requested (runs programs to their end).
    void Tick(int limit = 1000) {
        for (int i = 0; i < limit && host.timerActive; ++i)
            calc.ChgModeTimerTimer();
    }

    // Keys a program in PRGM mode from row 0 step 0 and returns to RUN mode, counter at 0.
    void Program(const std::string& names) {
        calc.SetProgramMode(true);
        Keys(names);
        calc.SetProgramMode(false);
        calc.PcRow = calc.PcStep = 0;
    }

    std::string Bottom() const { return calc.DisplayLines()[2]; }
    std::string Middle() const { return calc.DisplayLines()[1]; }
    std::string Top() const { return calc.DisplayLines()[0]; }
    long double X() const { return Value(calc.XReg); }
    long double Y() const { return Value(calc.YReg); }
    static long double Value(const TCalcRegister& r) {
        long double v = 0;
        RegToExt(r, v);
        return v;
    }

    // A mnemonic, "Step", or "#N" for keyboard position N.
    static TKeyPos Position(const std::string& name) {
        if (name.size() > 1 && name[0] == '#') return std::stoi(name.substr(1));
        if (auto p = KeyPosFromMnemonic(name)) return *p;
        throw std::invalid_argument("no key named " + name);
    }
};

} // namespace orrindale::testing
