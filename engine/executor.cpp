// The instruction executor: every key, pressed, stepped, run or fed from a card, acts here.
#include <cmath>
#include <utility>

#include "engine/calculator.h"

namespace orrindale {

namespace {
// Key codes the true-test follow-ups look for.
constexpr TKeyCode kCodeChgSign = 032, kCodeRcl = 061, kCodePoint = 021, kCodeOne = 01;
constexpr TKeyCode kCodeFmt = 042, kCodeGoTo = 044, kCodePrintSpace = 045;

enum TestKind { kTestFlag, kTestLess, kTestEqual, kTestGreater };
} // namespace

void Calculator::ClearPrefixes() {
    Flags.ArcPending = Flags.HyperPending = Flags.RegisterPrefix = Flags.GoToPending = 0;
    Flags.ExchangeY = Flags.RecallToX = Flags.SubroutineCall = Flags.FmtPending = 0;
    Flags.FirstAddressDigit = 1;
    Flags.SourceIsX = 1;
    BankSelect = 0;
}

void Calculator::RefreshDisplay() {
    DisplayOn = true;
    host_.RedrawDisplay();
}

void Calculator::BlankDisplay() {
    DisplayOn = false;
    host_.RedrawDisplay();
}

void Calculator::EndEntry() {
    ResetEntry();
    ClearPrefixes();
    RefreshDisplay();
}

void Calculator::StepAt(int row, int step, TKeyCode& code) const {
    code = RegisterFile[static_cast<size_t>(row & 63)][step % kWords] & kWordMask;
}

void Calculator::ExecuteKey(TKeyPos k) {
    BusyTicks = 0;
    if (!PowerOn || k < 1 || k > kKeyCount) return;
    if (!Running) {
        if (ErrorLit) {
            // The first key after an error only puts the lamp out.
            SetError(0);
            RefreshDisplay();
            return;
        }
        BlankDisplay();
        if (ProgramMode && k != pos::StepPrgm && ListingMode == 0) {
            // Drawn before the counter moves: the display shows the step just written.
            RegisterFile[static_cast<size_t>(PcRow & 63)][PcStep] =
                KeyCodeOf[static_cast<size_t>(k)];
            RefreshDisplay();
            AdvancePc(PcRow, PcStep);
            return;
        }
    }
    if (k != pos::PrintSpace && k != pos::StepPrgm) Flags.PrintedOnce = 0;
    DoAction(k);
}

void Calculator::ExecuteKeyByHand(TKeyPos k) {
    ExecuteKey(k);
    NoAdvance = false;
}

void Calculator::DoAction(TKeyPos k) {
    switch (k) {
    case 1: ToPolar(); break;
    case 2:
        // |Y|: the tenth mantissa digit of Y becomes 0; the sign of Y is left alone.
        YReg[0] = 0;
        EndEntry();
        break;
    case 3:
        ClearPrefixes();
        Flags.ArcPending = 1;
        Flags.HyperPending = 0;
        RefreshDisplay();
        break;
    case 4: LetterKey(10); break;
    case 5: LetterKey(11); break;
    case 17: LetterKey(12); break;
    case 18: LetterKey(13); break;
    case 30: LetterKey(14); break;
    case 31: LetterKey(15); break;
    case 6:
        std::swap(XReg, YReg);
        EndEntry();
        break;
    case 7: Arithmetic(0); break;
    case 8: ChangeSignKey(); break;
    case 9: EnterExpKey(); break;
    case 10:
        ClearReg(XReg, true);
        EndEntry();
        break;
    case 11:
        ClearReg(XReg, true);
        ClearReg(YReg, true);
        ClearReg(ZReg, true);
        ClearReg(RegisterFile[14], false);
        ClearReg(RegisterFile[15], false);
        Flags.UserFlag = 0;
        EndEntry();
        break;
    case 12: Test(kTestFlag); break;
    case 13: SetFlagKey(); break;
    case 14: ToRect(); break;
    case 15: Arithmetic(6); break;
    case 16:
    case 57:
        ClearPrefixes();
        Flags.HyperPending = Flags.RegisterPrefix = Flags.SourceIsX = Flags.RecallToX = 1;
        RefreshDisplay();
        break;
    case 19: {
        TCalcRegister oldX = XReg;
        XReg = YReg;
        YReg = ZReg;
        ZReg = oldX;
        EndEntry();
        break;
    }
    case 20: Arithmetic(1); break;
    case 21: DigitAction(7); break;
    case 22: DigitAction(8); break;
    case 23: DigitAction(9); break;
    case 34: DigitAction(4); break;
    case 35: DigitAction(5); break;
    case 36: DigitAction(6); break;
    case 47: DigitAction(1); break;
    case 48: DigitAction(2); break;
    case 49: DigitAction(3); break;
    case 60: DigitAction(0); break;
    case 24: FmtKey(); break;
    case 25: Test(kTestLess); break;
    case 26: PauseKey(); break;
    case 27: RecallAccumulators(); break;
    case 28: Arithmetic(12); break;
    case 29: Arithmetic(7); break;
    case 32: {
        TCalcRegister oldZ = ZReg;
        ZReg = YReg;
        YReg = XReg;
        XReg = oldZ;
        EndEntry();
        break;
    }
    case 33: Arithmetic(2); break;
    case 37: PrintKey(); break;
    case 38: Test(kTestEqual); break;
    case 39: StopProgram(); break;
    case 40: Accumulate(-1); break;
    case 53: Accumulate(1); break;
    case 41: Arithmetic(11); break;
    case 42: Arithmetic(8); break;
    case 43: StoreYKey(); break;
    case 44:
        ClearPrefixes();
        Flags.RegisterPrefix = 1;
        Flags.SourceIsX = 0;
        Flags.ExchangeY = 1;
        RefreshDisplay();
        break;
    case 45:
        if (!PlotterKey(2)) {
            XReg = YReg;
            YReg = ZReg;
        }
        EndEntry();
        break;
    case 46: Arithmetic(3); break;
    case 50: SubReturnKey(); break;
    case 51: Test(kTestGreater); break;
    case 52: EndKey(); break;
    case 54: Arithmetic(10); break;
    case 55: Arithmetic(9); break;
    case 56:
        ClearPrefixes();
        Flags.RegisterPrefix = 1;
        Flags.SourceIsX = 1;
        RefreshDisplay();
        break;
    case 58:
        if (!PlotterKey(3)) {
            ZReg = YReg;
            YReg = XReg;
        }
        EndEntry();
        break;
    case 59: Arithmetic(4); break;
    case 61: PointKey(); break;
    case 62: Arithmetic(5); break;
    case 63: ContKey(); break;
    case 64: GoToKey(); break;
    case 65:
        if (ProgramMode) {
            AdvancePc(PcRow, PcStep);
            EndEntry();
        } else {
            RunSteps(true);
        }
        break;
    default: break;
    }
}

void Calculator::DigitAction(int v) {
    if (Flags.GoToPending)
        AddressKey(v);
    else if (Flags.RegisterPrefix)
        RegisterKey(v);
    else
        DigitKey(v);
}

void Calculator::LetterKey(int v) {
    if (Flags.GoToPending) {
        // e and f are no address characters: GO TO stays armed.
        if (v <= 13) AddressKey(v);
        return;
    }
    RegisterKey(v);
    EndEntry();
}

void Calculator::RegisterKey(int n) {
    TCalcRegister& reg = RegisterFile[static_cast<size_t>(BankSelect == 2 ? n + 16 : n)];
    if (!Flags.RegisterPrefix) Flags.RecallToX = 1; // a register key alone recalls
    if (Flags.RecallToX)
        XReg = reg;
    else if (Flags.SourceIsX)
        reg = XReg;
    else if (Flags.ExchangeY)
        std::swap(YReg, reg);
    else
        reg = YReg;
    EndEntry();
}

void Calculator::AddressKey(int v) {
    if (Flags.FirstAddressDigit) {
        Flags.FirstAddressDigit = 0;
        AddrRow = v;
        RefreshDisplay();
        return;
    }
    if (Flags.SubroutineCall) PushReturn();
    int row = AddrRow;
    if (BankSelect == 2 || (BankSelect == 0 && PcRow >= 16)) row += 16;
    PcRow = row;
    PcStep = v;
    EndEntry();
    NoAdvance = true;
}

void Calculator::ShowExtResult(int code) {
    if (code > 0)
        ShowExtMemError(code);
    else
        RefreshDisplay();
}

void Calculator::GoToKey() {
    if (ExtMemReady()) {
        ShowExtResult(host_.ExtGoTo(XReg));
        PcRow = PcStep = 0;
        NoAdvance = true;
        EndEntry();
        return;
    }
    EndEntry();
    Flags.GoToPending = 1;
    Flags.FirstAddressDigit = 1;
    RefreshDisplay();
}

void Calculator::PushReturn() {
    ReturnStack[static_cast<size_t>(ReturnTop)] = {PcRow, PcStep};
    ReturnTop = (ReturnTop + 1) % 5;
}

void Calculator::PopReturn() {
    ReturnTop = (ReturnTop + 4) % 5;
    PcRow = ReturnStack[static_cast<size_t>(ReturnTop)].Row;
    PcStep = ReturnStack[static_cast<size_t>(ReturnTop)].Step;
}

void Calculator::SubReturnKey() {
    if (Flags.GoToPending) {
        Flags.SubroutineCall = 1; // GO TO SUB/RETURN row step: a subroutine call
        return;
    }
    EndEntry();
    PopReturn();
    EndEntry();
}

void Calculator::Test(int which) {
    EndEntry();
    long double x = 0, y = 0;
    RegToExt(XReg, x);
    RegToExt(YReg, y);
    bool holds = false;
    switch (which) {
    case kTestFlag:
        holds = Flags.UserFlag != 0;
        if (holds) Flags.UserFlag = 0;
        break;
    case kTestLess: holds = x < y; break;
    case kTestEqual: holds = x == y; break;
    default: holds = x > y; break;
    }
    if (!holds) {
        // Skip the two address steps (the run loop adds the third advance).
        AdvancePc(PcRow, PcStep);
        AdvancePc(PcRow, PcStep);
        return;
    }
    GoToKey();
    int row = PcRow, step = PcStep;
    AdvancePc(row, step);
    TKeyCode s = 0;
    StepAt(row, step, s);
    if (s == kCodeChgSign) {
        XReg[kExpTens] ^= kSignBit;
        AdvancePc(PcRow, PcStep);
    } else if (s == kCodeRcl) {
        XReg = RegisterFile[15];
        PcRow = RandomDigit();
        PcStep = RandomDigit();
    } else if (s == kCodePoint) {
        int nextRow = row, nextStep = step;
        AdvancePc(nextRow, nextStep);
        TKeyCode next = 0;
        StepAt(nextRow, nextStep, next);
        if (next == kCodeOne) {
            ClearReg(XReg, true);
            XReg[kLeadWord] = 1 | (nextRow < 16 ? kSignBit : 0);
            XReg[kExpTens] = 1 | kSignBit;
        }
        AdvancePc(PcRow, PcStep);
        AdvancePc(PcRow, PcStep);
    }
}

void Calculator::SetFlagKey() {
    if (ExtMemReady())
        ShowExtResult(host_.ExtSetFlag(XReg));
    else
        Flags.UserFlag = 1;
    EndEntry();
}

void Calculator::StoreYKey() {
    if (ExtMemReady()) {
        int code = host_.ExtStoreY(XReg, YReg);
        if (code > 0) ShowExtMemError(code);
        ClearPrefixes();
    } else {
        ClearPrefixes();
        Flags.RegisterPrefix = 1;
        Flags.SourceIsX = 0;
    }
    RefreshDisplay();
}

void Calculator::FmtKey() {
    const bool wasPending = Flags.FmtPending != 0;
    EndEntry();
    if (host_.HasPlotter()) {
        Flags.FmtPending = 1;
    } else if (host_.HasExtMem() && host_.ExtMemOn()) {
        if (wasPending) {
            PcRow = PcStep = 0;
            ShowExtResult(host_.ExtFmtFmt(XReg));
            EndEntry();
        } else {
            Flags.FmtPending = 1;
            host_.ExtLampOff();
        }
    } else if (Running) {
        StopProgram(); // FMT with nothing attached stops a program
    }
}

bool Calculator::PlotterKey(int command) {
    if (!Flags.FmtPending || !host_.HasPlotter()) return false;
    long double y = 0, x = 0;
    RegToExt(YReg, y);
    RegToExt(XReg, x);
    auto coordinate = [](long double v) {
        return static_cast<int>(std::fabs(v) > 10000.0L ? 20000.0L : v);
    };
    int r = host_.PlotterCommand(command, DecimalWheel, coordinate(x), coordinate(y));
    if (r == 5) return false;
    if (r == 4) {
        PendingAction |= pending::WaitPlotter;
        if (!Running) host_.StartChgModeTimer();
    }
    return true;
}

void Calculator::StopProgram() {
    Flags.FmtPending = 1;
    PlotterKey(1); // STOP always reaches an open plotter
    if (host_.HasExtMem()) host_.ExtLampOff();
    PauseTicks = 0;
    if (ListingMode != 0) host_.EndListing();
    host_.StopPaperFeed();
    Running = false;
    PendingAction &= ~pending::Run; // STOP right after CONT, before the timer fired
    EndEntry();
}

void Calculator::EndKey() {
    if (ExtMemReady() && Running) {
        ShowExtResult(host_.ExtEnd(XReg));
        NoAdvance = true;
    } else {
        PcRow = PcStep = 0;
        NoAdvance = true;
        Running = false;
        PauseTicks = 0;
    }
    EndEntry();
}

void Calculator::ContKey() {
    if (Running || ProgramMode) {
        EndEntry();
        return;
    }
    PendingAction |= pending::Run;
    host_.StartChgModeTimer();
    BlankDisplay();
    ResetEntry();
    const int bank = BankSelect;
    const uint8_t goTo = Flags.GoToPending;
    ClearPrefixes();
    BankSelect = bank;
    Flags.GoToPending = goTo;
    host_.StopPaperFeed();
    Running = true;
}

void Calculator::PauseKey() {
    EndEntry();
    if (!Running) return;
    if (host_.KeyHeld(pos::Pause)) {
        StopProgram();
        return;
    }
    // The display shows for the pause although a program runs.
    Running = false;
    host_.RedrawDisplay();
    Running = true;
    PauseTicks = 300;
}

void Calculator::PrintKey() {
    if (Running) {
        if (!host_.PrinterOn()) {
            StopProgram();
        } else {
            PrintRegisters();
            if (host_.KeyHeld(pos::Pause)) StopProgram();
        }
    } else if (host_.PrinterOn()) {
        PrintRegisters();
    }
    EndEntry();
}

void Calculator::PrintRegisters() {
    bool appended = false;
    if (!Flags.PrintedOnce) {
        Flags.PrintedOnce = 1;
        const TCalcRegister* regs[3] = {&XReg, &YReg, &ZReg};
        for (int which = 0; which < 3; ++which) {
            if (!host_.PrintSwitch(which)) continue;
            PrintQueue.push_back(FormatRegister(*regs[which], true, false));
            appended = true;
        }
    }
    // PRINT/SPACE again at once, or with no register chosen, feeds a blank line.
    if (!appended) PrintQueue.push_back(kBlankPrintLine);
    if (!PrintQueue.empty()) host_.StartPaperFeed();
}

void Calculator::FeedKeyCode(TKeyCode code) {
    code &= kWordMask;
    RegisterFile[static_cast<size_t>(PcRow & 63)][PcStep] = code;
    if (ProgramMode) {
        EndEntry();
        AdvancePc(PcRow, PcStep);
        return;
    }
    if (code == kCodeFmt || code == kCodeGoTo || code == kCodePrintSpace) return;
    FromMarkedCard = true;
    RunSteps(true);
    FromMarkedCard = false;
}

} // namespace orrindale
