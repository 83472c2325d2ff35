// keyrun: drives the calculator engine from the command line, without windows.
//
//   keyrun [--max-steps N] [TOKEN ...]
//
// Tokens come from the arguments, or whitespace-separated from standard input when there are
// none; letter case is ignored. A key is named by its card editor mnemonic ("7", ".", "Chs",
// "Add", "SINx", "X>[]", "GoTo" ...), "Step" for STEP PRGM, "#N" for keyboard position N or
// "@OO" for the key with octal code OO. Switches: on, off, prgm, run, fix, float, deg, rad,
// wheel=N. "show" prints the display, "regs" the words of X, Y and Z. The display is printed
// again at the end. A program started with CONT runs through the real run loop, with sleeps
// and message passes that return at once, until it stops or --max-steps steps have run. The
// card tokens (keyruncards.h) put a magnetic card in the slot and record or enter it;
// "listing-load=PATH" puts a text listing into program memory and "listing-save=PATH" writes
// memory as one. The extended memory tokens (keyrunextmem.h) attach an HP 9101A and read or
// write its memory files; the plotter tokens (keyrunplotter.h) attach the plotter and save its
// plot as a plot file or an SVG picture. As in the windows, the card, listing and stack tokens are
// refused with the power off or while a program runs (one left running by --max-steps): keyrun says
// why and exits with 2. "off" stops such a run between two steps, as the window does; "on" resumes
// it. Output that cannot be written (a full disk, a closed pipe) ends keyrun with 2 as well.
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cards/magnetic/cardcycle.h"
#include "common/hpdata.h"
#include "engine/calculator.h"
#include "keyruncards.h"
#include "keyrunextmem.h"
#include "keyrunplotter.h"
#include "outputcheck.h"
#include "viewer/listing.h"
#include "viewer/viewtable.h"

using namespace orrindale;

namespace {

// A host with the printer on and X, Y, Z latched, whose paper feeds at once, and whose
// run-loop pacing passes in no time.
class KeyrunHost : public EngineHost {
public:
    Calculator* calc = nullptr;
    bool timerActive = false;
    KeyrunPlotter plotter;

    void RedrawDisplay() override {
        // Drawing the display: computing time passes at once, then the lines are taken.
        if (calc && calc->DisplayShowsLines()) {
            calc->BusyTicks = 0;
            calc->TakeDisplayLines();
        }
    }
    bool PrinterOn() const override { return true; }
    bool PrintSwitch(int) const override { return true; }
    void StartPaperFeed() override {
        while (!calc->PrintQueue.empty()) {
            std::cout << "print " << calc->PrintQueue.front() << '\n';
            calc->PrintQueue.pop_front();
        }
    }
    void StopPaperFeed() override {}
    bool PaperFeeding() const override { return false; }
    void StartChgModeTimer() override { timerActive = true; }
    void StopChgModeTimer() override { timerActive = false; }
    void Sleep(int) override {}
    void ProcessMessages() override {}
    void ShowInternalError(const std::string& message) override { std::cerr << message << '\n'; }
    ExtMemoryPort* ExtMemory() override { return extMem ? extMem->Port() : nullptr; }
    KeyrunExtMem* extMem = nullptr;
    PlotterPort* Plotter() override { return plotter.Port(); }
    void PowerSwitched(bool on, bool) override { plotter.PowerChanged(on); }
};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<int> ParseInt(const std::string& text, int base) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        int d = c - '0';
        if (d < 0 || d >= base) return std::nullopt;
        value = value * base + d;
    }
    return value;
}

// The keyboard position a key token names, if it names one.
std::optional<TKeyPos> KeyPosition(const std::string& token) {
    std::string t = Lower(token);
    if (t.size() > 1 && t[0] == '#') {
        auto n = ParseInt(t.substr(1), 10);
        if (n && *n >= 1 && *n <= kKeyCount) return *n;
        return std::nullopt;
    }
    if (t.size() == 3 && t[0] == '@') {
        auto code = ParseInt(t.substr(1), 8);
        if (code) return KeyPosOf[static_cast<size_t>(*code)];
        return std::nullopt;
    }
    return KeyPosFromMnemonic(t);
}

void PrintDisplay(const Calculator& calc) {
    DisplayTexts lines = calc.DisplayLines();
    std::cout << "top " << lines[0] << "\nmid " << lines[1] << "\nbot " << lines[2] << "\nlamp "
              << (calc.ErrorLit ? "on" : "off") << '\n';
}

void PrintRegisters(const Calculator& calc) {
    const std::pair<const char*, const TCalcRegister*> regs[] = {
        {"X", &calc.XReg}, {"Y", &calc.YReg}, {"Z", &calc.ZReg}};
    for (auto [name, reg] : regs) {
        std::cout << name;
        for (int i = 0; i < kWords; ++i)
            std::cout << ' ' << (*reg)[i];
        std::cout << '\n';
    }
}

// listing-load=PATH and listing-save=PATH act as the viewer's Send To Memory and Save File As
// do; false for any other token. A listing that cannot be read or written ends keyrun with the
// viewer's message and status 2, before anything is written to memory.
bool ListingToken(Calculator& calc, const std::string& token) {
    const std::string verb = Lower(token.substr(0, 13));
    if (verb != "listing-load=" && verb != "listing-save=") return false;
    const std::string path = token.substr(13);
    std::string error;
    if (verb == "listing-save=") {
        const auto codes = listing::ReadProgram(calc);
        ViewTable table;
        table.Fill({codes.begin(), codes.end()});
        if (!listing::WriteListingFile(path, table.Lines())) error = "ERROR: Failed to save file";
    } else if (std::vector<std::string> lines; !listing::ReadListingFile(path, lines)) {
        // The viewer's message, file and reason, on one line of standard error.
        const std::string reason = UnreadableReason(path, listing::kMaxListingBytes);
        error = "ERROR: Failed to open file: " + path + ": " +
                (reason.empty() ? "it could not be read" : reason);
    } else if (const listing::ReadResult read = listing::LoadTextListing(lines); read.Complete) {
        for (int n = 0; n < listing::kSteps; ++n)
            listing::WriteStep(calc, n, read.Codes[static_cast<size_t>(n)]);
    } else {
        error = read.Error;
    }
    if (error.empty()) return true;
    std::cout.flush();
    std::cerr << error << '\n';
    std::exit(2);
}

// What the windows refuse with the power off or while a program runs, keyrun refuses too, with
// their messages: the "Magnetic Card" menu is disabled with the power off and the slot refuses
// its keys and its menu while a program runs; the viewer does not open while a program runs and
// shows no program with the power off. Empty when the token may go on.
std::string Refusal(const Calculator& calc, const std::string& token) {
    const std::string t = Lower(token);
    auto starts = [&t](const char* prefix) { return t.rfind(prefix, 0) == 0; };
    const bool viewer = starts("listing-load=") || starts("listing-save=") || starts("stack-save=");
    const bool slot = KeyrunCards::IsSlotToken(token);
    // A run that "off" suspended still counts as running, as in the window: it resumes at "on".
    if (slot) {
        if (!calc.PowerOn) return "The Magnetic Card menu is disabled while the calculator is off";
        if (calc.Running) return kSlotRunningRefusal;
    } else if (viewer) {
        if (calc.Running) return "Please stop program running to view code";
        if (!calc.PowerOn)
            return starts("listing-load=")
                       ? "Code can only be transferred to memory when the calculator is turned on"
                       : "The viewer shows no program while the calculator is off";
    }
    return {};
}

class Session {
public:
    explicit Session(uint64_t maxSteps) : calc_(host_) {
        host_.calc = &calc_;
        host_.extMem = &extMem_;
        calc_.ResetMachine();
        calc_.PowerOn = true;
        calc_.DisplayOn = true;
        calc_.StepLimit = maxSteps;
    }

    // False for a token that names nothing.
    bool Apply(const std::string& token) {
        std::string t = Lower(token);
        if (const std::string refused = Refusal(calc_, token); !refused.empty())
            return Fail(refused);
        if (t == "show")
            PrintDisplay(calc_);
        else if (t == "regs")
            PrintRegisters(calc_);
        else if (t == "on" || t == "off")
            SwitchPower(t == "on");
        else if (t == "prgm" || t == "run")
            calc_.SetProgramMode(t == "prgm");
        else if (t == "fix" || t == "float")
            calc_.SetDisplayMode(t == "float");
        else if (t == "deg" || t == "rad")
            calc_.SetAngleMode(t == "rad");
        else if (t.rfind("wheel=", 0) == 0) {
            auto n = ParseInt(t.substr(6), 10);
            if (!n || *n > 9) return false;
            calc_.SetDecimalWheel(*n);
        } else if (auto p = KeyPosition(t)) {
            Press(*p);
        } else if (auto c = cards_.Apply(token, calc_); c != KeyrunCards::Result::NotCard) {
            if (c == KeyrunCards::Result::Failed) return false;
        } else if (auto e = extMem_.Apply(token); e != KeyrunExtMem::Result::NotExtMem) {
            if (e == KeyrunExtMem::Result::Failed) return false;
        } else if (auto c = host_.plotter.Apply(token); c != KeyrunPlotter::Result::NotPlotter) {
            if (c == KeyrunPlotter::Result::Failed) return Fail(host_.plotter.Error());
        } else if (!ListingToken(calc_, token)) {
            return false;
        }
        RunTimer();
        return true;
    }

    void Finish() { PrintDisplay(calc_); }
    const std::string& CardError() const {
        if (!error_.empty()) return error_;
        return cards_.Error().empty() ? extMem_.Error() : cards_.Error();
    }

private:
    // A run that --max-steps left running is still the engine's run: switching off stops it
    // between two steps, as the window's mode-change timer does, and it resumes at power-on.
    void SwitchPower(bool on) {
        calc_.RequestPower(on);
        if (!on && calc_.Running) host_.StartChgModeTimer();
    }

    // As the panel does: while a program runs only STOP reaches the engine.
    void Press(TKeyPos p) {
        if (calc_.Running && p != keypos::Stop) return;
        calc_.ExecuteKeyByHand(p);
    }

    // Fires the mode-change timer for as long as it is requested; reports a run. The count
    // starts here: steps run by STEP PRGM before do not use up the run's budget.
    void RunTimer() {
        if (!host_.timerActive) return;
        calc_.StepsExecuted = 0;
        bool ran = false;
        while (host_.timerActive) {
            ran = ran || (calc_.PendingAction & pending::Run) != 0;
            calc_.ChgModeTimerTimer();
            // A power-on that resumes a program asks for the run and starts it in one firing.
            ran = ran || calc_.StepsExecuted != 0;
            if (calc_.Running && calc_.StepLimit != 0 && calc_.StepsExecuted >= calc_.StepLimit)
                break;
        }
        if (!ran) return;
        std::cout << (calc_.Running ? "still running after " : "stopped after ")
                  << calc_.StepsExecuted << " steps\n";
        host_.timerActive = false;
    }

    KeyrunHost host_;
    Calculator calc_;
    KeyrunCards cards_;
    KeyrunExtMem extMem_;
    std::string error_;

    bool Fail(const std::string& why) {
        error_ = why;
        return false;
    }
};

int Usage() {
    std::cerr << "usage: keyrun [--max-steps N] [TOKEN ...]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> tokens;
    uint64_t maxSteps = 1000000;
    int first = 1;
    if (argc > 1 && std::string(argv[1]) == "--max-steps") {
        if (argc < 3) return Usage();
        char* end = nullptr;
        unsigned long long n = std::strtoull(argv[2], &end, 10);
        if (*argv[2] == '\0' || *end != '\0' || n == 0) return Usage();
        maxSteps = n;
        first = 3;
    }
    for (int i = first; i < argc; ++i)
        tokens.emplace_back(argv[i]);
    if (first >= argc) {
        std::string token;
        while (std::cin >> token)
            tokens.push_back(token);
    }
    Session session(maxSteps);
    OutputCheck output("keyrun");
    for (const std::string& token : tokens) {
        const bool applied = session.Apply(token);
        output.Note();
        if (!applied) {
            output.Finish();
            if (!session.CardError().empty())
                std::cerr << "keyrun: " << token << ": " << session.CardError() << '\n';
            else
                std::cerr << "keyrun: unknown token '" << token << "'\n";
            return 2;
        }
    }
    session.Finish();
    return output.Finish() ? 0 : 2;
}
