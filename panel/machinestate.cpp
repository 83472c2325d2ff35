#include "panel/machinestate.h"

namespace orrindale {

namespace {

enum StateKey {
    kLastReadRegister = 31, // registers 32-63 are written but never read back
    kXReg = 100,
    kYReg = 101,
    kZReg = 102,
    kZSave = 103,
    kFlags = 104,
    kReturnRows = 105,
    kReturnSteps = 106,
    kRunAtPowerOn = 107,
    kNoAdvance = 108,
    kPendingAction = 109,
    kPcRow = 110,
    kPcStep = 111,
    kAddrRow = 112,
    kReturnTop = 113,
    kBankSelect = 114,
    kReserved = 115,
    kEntryPos = 116,
    kExpCount = 117,
    kEntrySign = 118,
    kErrorLamp = 119,
};

// The requests the mode-change timer knows; other bits of a saved value are dropped.
constexpr int kKnownPendingBits = pending::Close | pending::PowerOn | pending::PowerOff |
                                  pending::Run | pending::ReleaseCardReader |
                                  pending::ReleasePlotter | pending::WaitPlotter |
                                  pending::ReleaseExtMem;

bool IsRow(int row) {
    return (row >= 0 && row <= 13) || (row >= 16 && row <= 29);
}
bool IsStep(int step) {
    return step >= 0 && step <= 13;
}

std::string RegisterText(const TCalcRegister& r) {
    std::string text;
    for (int w = 0; w < kWords; ++w)
        text += std::to_string(r[w]) + "~";
    return text;
}

// Words are taken until a field is not a number; the rest keep what the register held. A word
// uses only its low six bits, so a larger saved value is cut to them rather than handed to
// code that indexes tables by step code.
void ReadRegister(const std::string& value, TCalcRegister& reg) {
    for (int w = 0; w < kWords; ++w) {
        int word = 0;
        if (!ParseDecimal(GetTildeField(value, w), word)) return;
        reg[w] = word & kWordMask;
    }
}

bool ReadFlags(const std::string& value, MachineState& s) {
    for (int i = 0; i < TEngineFlags::kSlots; ++i) {
        bool flag = false;
        if (!ParseBoolean(GetTildeField(value, i), flag)) return false;
        s.Flags[static_cast<size_t>(i)] = flag ? 1 : 0;
    }
    return true;
}

bool ReadReturnStack(const std::string& value, bool rows, MachineState& s) {
    for (int i = 0; i < static_cast<int>(s.ReturnStack.size()); ++i) {
        int n = 0;
        if (!ParseDecimal(GetTildeField(value, i), n)) return false;
        if (rows ? !IsRow(n) : !IsStep(n)) return false;
        auto& slot = s.ReturnStack[static_cast<size_t>(i)];
        (rows ? slot.Row : slot.Step) = n;
    }
    return true;
}

// Whether an integer of lines 109-119 fits the field it goes to. These drive the engine's
// indexing (program counter, return ring, entry word), so a value outside fails the load.
bool InRange(int key, int n) {
    switch (key) {
    case kPcRow: return IsRow(n);
    case kPcStep: return IsStep(n);
    case kAddrRow: return n >= 0 && n <= 13;
    case kReturnTop: return n >= 0 && n <= 4;
    case kBankSelect: return n >= 0 && n <= 2;
    case kEntryPos: return n >= 0 && n < kWords;
    case kExpCount: return n >= 10 && n <= 12;
    case kEntrySign: return n == 0 || n == kSignBit;
    default: return true;
    }
}

bool ReadInteger(int key, const std::string& value, MachineState& s) {
    int n = 0;
    if (!ParseDecimal(value, n) || !InRange(key, n)) return false;
    switch (key) {
    case kPendingAction: s.PendingAction = n & kKnownPendingBits; break;
    case kPcRow: s.PcRow = n; break;
    case kPcStep: s.PcStep = n; break;
    case kAddrRow: s.AddrRow = n; break;
    case kReturnTop: s.ReturnTop = n; break;
    case kBankSelect: s.BankSelect = n; break;
    case kReserved: s.ReservedState = n; break;
    case kEntryPos: s.EntryPos = n; break;
    case kExpCount: s.ExpCount = n; break;
    case kEntrySign: s.EntrySign = n; break;
    case kErrorLamp: s.ErrorLamp = n != 0; break;
    default: break;
    }
    return true;
}

TCalcRegister* OperatingRegister(int key, MachineState& s) {
    switch (key) {
    case kXReg: return &s.XReg;
    case kYReg: return &s.YReg;
    case kZReg: return &s.ZReg;
    case kZSave: return &s.ZSave;
    default: return nullptr;
    }
}

// One line at file position p; false stops the load.
bool ApplyLine(std::size_t p, int key, const std::string& value, MachineState& s) {
    if (key >= 0 && key <= kLastReadRegister) {
        // The line's position, not its key, names the register; a file with more lines than
        // registers must not write past them.
        if (p < s.RegisterFile.size()) ReadRegister(value, s.RegisterFile[p]);
        return true;
    }
    if (TCalcRegister* reg = OperatingRegister(key, s)) {
        ReadRegister(value, *reg);
        return true;
    }
    switch (key) {
    case kFlags: return ReadFlags(value, s);
    case kReturnRows: return ReadReturnStack(value, true, s);
    case kReturnSteps: return ReadReturnStack(value, false, s);
    case kRunAtPowerOn: return ParseBoolean(value, s.RunAtPowerOn);
    case kNoAdvance: return ParseBoolean(value, s.NoAdvance);
    default:
        if (key >= kPendingAction && key <= kErrorLamp) return ReadInteger(key, value, s);
        return true; // other keys, registers 32-63 among them, are ignored
    }
}

std::string NumberList(const std::array<TReturnAddress, 5>& stack, bool rows) {
    std::string text;
    for (const auto& a : stack)
        text += std::to_string(rows ? a.Row : a.Step) + "~";
    return text;
}

} // namespace

MachineState CaptureForSave(const Calculator& c) {
    MachineState s;
    s.RegisterFile = c.RegisterFile;
    s.XReg = c.XReg;
    s.YReg = c.YReg;
    s.ZReg = c.ZReg;
    s.ZSave = c.ZSave;
    for (int i = 0; i < TEngineFlags::kSlots; ++i)
        s.Flags[static_cast<size_t>(i)] = c.Flags.Slot(i);
    s.ReturnStack = c.ReturnStack;
    s.RunAtPowerOn = c.RunAtPowerOn;
    s.NoAdvance = c.NoAdvance;
    s.PendingAction = c.PendingAction;
    s.PcRow = c.PcRow;
    s.PcStep = c.PcStep;
    s.AddrRow = c.AddrRow;
    s.ReturnTop = c.ReturnTop;
    s.BankSelect = c.BankSelect;
    s.ReservedState = c.ReservedState;
    s.EntryPos = c.EntryPos;
    s.ExpCount = c.ExpCount;
    s.EntrySign = c.EntrySign;
    s.ErrorLamp = c.ErrorLit;
    return s;
}

MachineState CaptureForLoad(const Calculator& c) {
    MachineState s = CaptureForSave(c);
    s.ErrorLamp = c.ErrorAtPowerOn;
    return s;
}

void CommitMachineState(const MachineState& s, Calculator& c) {
    c.RegisterFile = s.RegisterFile;
    c.XReg = s.XReg;
    c.YReg = s.YReg;
    c.ZReg = s.ZReg;
    c.ZSave = s.ZSave;
    for (int i = 0; i < TEngineFlags::kSlots; ++i)
        c.Flags.Slot(i) = s.Flags[static_cast<size_t>(i)];
    c.ReturnStack = s.ReturnStack;
    c.RunAtPowerOn = s.RunAtPowerOn;
    c.NoAdvance = s.NoAdvance;
    // Requests that belonged to the windows of the last session (close, plotter wait, window
    // releases) would only freeze or close this one: the engine gets the others.
    c.PendingAction = s.PendingAction & (pending::PowerOn | pending::PowerOff | pending::Run);
    c.PcRow = s.PcRow;
    c.PcStep = s.PcStep;
    c.AddrRow = s.AddrRow;
    c.ReturnTop = s.ReturnTop;
    c.BankSelect = s.BankSelect;
    c.ReservedState = s.ReservedState;
    c.EntryPos = s.EntryPos;
    c.ExpCount = s.ExpCount;
    c.EntrySign = s.EntrySign;
    c.ErrorAtPowerOn = s.ErrorLamp;
}

TextList MachineStateLines(const MachineState& s) {
    TextList lines;
    for (std::size_t i = 0; i < s.RegisterFile.size(); ++i)
        lines.push_back(LineKey(static_cast<int>(i)) + RegisterText(s.RegisterFile[i]));
    lines.push_back(LineKey(kXReg) + RegisterText(s.XReg));
    lines.push_back(LineKey(kYReg) + RegisterText(s.YReg));
    lines.push_back(LineKey(kZReg) + RegisterText(s.ZReg));
    lines.push_back(LineKey(kZSave) + RegisterText(s.ZSave));
    std::string flags;
    for (uint8_t f : s.Flags)
        flags += std::string(BooleanText(f != 0)) + "~";
    lines.push_back(LineKey(kFlags) + flags);
    lines.push_back(LineKey(kReturnRows) + NumberList(s.ReturnStack, true));
    lines.push_back(LineKey(kReturnSteps) + NumberList(s.ReturnStack, false));
    lines.push_back(LineKey(kRunAtPowerOn) + BooleanText(s.RunAtPowerOn));
    lines.push_back(LineKey(kNoAdvance) + BooleanText(s.NoAdvance));
    const int values[] = {s.PendingAction, s.PcRow,         s.PcStep,   s.AddrRow,  s.ReturnTop,
                          s.BankSelect,    s.ReservedState, s.EntryPos, s.ExpCount, s.EntrySign};
    int key = kPendingAction;
    for (int v : values)
        lines.push_back(LineKey(key++) + std::to_string(v));
    lines.push_back(LineKey(kErrorLamp) + (s.ErrorLamp ? "1" : "0"));
    return lines;
}

bool ApplyMachineStateLines(const TextList& lines, MachineState& state) {
    for (std::size_t p = 0; p < lines.size(); ++p) {
        std::string value = lines[p];
        const int key = TakeLineKey(value, true);
        if (!ApplyLine(p, key, value, state)) return false;
    }
    return true;
}

bool LoadMachineState(const std::string& path, Calculator& calc) {
    TextList lines;
    if (!LoadScrambledTextList(path, lines, kMachineStateFileLimits)) return false;
    MachineState staged = CaptureForLoad(calc);
    if (!ApplyMachineStateLines(lines, staged)) return false;
    CommitMachineState(staged, calc);
    return true;
}

bool SaveMachineState(const std::string& path, const Calculator& calc) {
    return SaveScrambledTextList(path, MachineStateLines(CaptureForSave(calc)));
}

} // namespace orrindale
