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
        if (ProgramMode && k != keypos::StepPrgm && ListingMode == 0) {
            // Drawn before the counter moves: the display shows the step just written.
            RegisterFile[static_cast<size_t>(PcRow & 63)][PcStep] =
                KeyCodeOf[static_cast<size_t>(k)];
            RefreshDisplay();
            AdvancePc(PcRow, PcStep);
            return;
        }
    }
    if (k != keypos::PrintSpace && k != keypos::StepPrgm) Flags.PrintedOnce = 0;
    DoAction(k);
}

void Calculator::ExecuteKeyByHand(TKeyPos k) {
    ExecuteKey(k);
    NoAdvance = false;
}

void Calculator::DoAction(TKeyPos k) {
    switch (k) {
    case keypos::ToPolar: ToPolar(); break;
    case keypos::AbsY:
        // |Y|: the tenth mantissa digit of Y becomes 0; the sign of Y is left alone.
        YReg[0] = 0;
        EndEntry();
        break;
    case keypos::Arc:
        ClearPrefixes();
        Flags.ArcPending = 1;
        Flags.HyperPending = 0;
        RefreshDisplay();
        break;
    case keypos::A: LetterKey(10); break;
    case keypos::B: LetterKey(11); break;
    case keypos::C: LetterKey(12); break;
    case keypos::D: LetterKey(13); break;
    case keypos::E: LetterKey(14); break;
    case keypos::F: LetterKey(15); break;
    case keypos::XExchangeY:
        std::swap(XReg, YReg);
        EndEntry();
        break;
    case keypos::Sqrt: Arithmetic(0); break;
    case keypos::ChgSign: ChangeSignKey(); break;
    case keypos::EnterExp: EnterExpKey(); break;
    case keypos::ClearX:
        ClearReg(XReg, true);
        EndEntry();
        break;
    case keypos::Clear:
        ClearReg(XReg, true);
        ClearReg(YReg, true);
        ClearReg(ZReg, true);
        ClearReg(RegisterFile[14], false);
        ClearReg(RegisterFile[15], false);
        Flags.UserFlag = 0;
        EndEntry();
        break;
    case keypos::IfFlag: Test(kTestFlag); break;
    case keypos::SetFlag: SetFlagKey(); break;
    case keypos::ToRect: ToRect(); break;
    case keypos::IntX: Arithmetic(6); break;
    case keypos::Hyper:
    case keypos::XFrom:
        ClearPrefixes();
        Flags.HyperPending = Flags.RegisterPrefix = Flags.SourceIsX = Flags.RecallToX = 1;
        RefreshDisplay();
        break;
    case keypos::RollDown: {
        TCalcRegister oldX = XReg;
        XReg = YReg;
        YReg = ZReg;
        ZReg = oldX;
        EndEntry();
        break;
    }
    case keypos::Divide: Arithmetic(1); break;
    case keypos::Digit7: DigitAction(7); break;
    case keypos::Digit8: DigitAction(8); break;
    case keypos::Digit9: DigitAction(9); break;
    case keypos::Digit4: DigitAction(4); break;
    case keypos::Digit5: DigitAction(5); break;
    case keypos::Digit6: DigitAction(6); break;
    case keypos::Digit1: DigitAction(1); break;
    case keypos::Digit2: DigitAction(2); break;
    case keypos::Digit3: DigitAction(3); break;
    case keypos::Digit0: DigitAction(0); break;
    case keypos::Fmt: FmtKey(); break;
    case keypos::IfXLessY: Test(kTestLess); break;
    case keypos::Pause: PauseKey(); break;
    case keypos::Rcl: RecallAccumulators(); break;
    case keypos::ExpX: Arithmetic(12); break;
    case keypos::SinX: Arithmetic(7); break;
    case keypos::RollUp: {
        TCalcRegister oldZ = ZReg;
        ZReg = YReg;
        YReg = XReg;
        XReg = oldZ;
        EndEntry();
        break;
    }
    case keypos::Multiply: Arithmetic(2); break;
    case keypos::PrintSpace: PrintKey(); break;
    case keypos::IfXEqualY: Test(kTestEqual); break;
    case keypos::Stop: StopProgram(); break;
    case keypos::AccMinus: Accumulate(-1); break;
    case keypos::AccPlus: Accumulate(1); break;
    case keypos::LnX: Arithmetic(11); break;
    case keypos::CosX: Arithmetic(8); break;
    case keypos::YTo: StoreYKey(); break;
    case keypos::YExchange:
        ClearPrefixes();
        Flags.RegisterPrefix = 1;
        Flags.SourceIsX = 0;
        Flags.ExchangeY = 1;
        RefreshDisplay();
        break;
    case keypos::ShiftDown: ShiftKey(true); break;
    case keypos::Subtract: Arithmetic(3); break;
    case keypos::SubReturn: SubReturnKey(); break;
    case keypos::IfXGreaterY: Test(kTestGreater); break;
    case keypos::End: EndKey(); break;
    case keypos::LogX: Arithmetic(10); break;
    case keypos::TanX: Arithmetic(9); break;
    case keypos::XTo:
        ClearPrefixes();
        Flags.RegisterPrefix = 1;
        Flags.SourceIsX = 1;
        RefreshDisplay();
        break;
    case keypos::ShiftUp: ShiftKey(false); break;
    case keypos::Add: Arithmetic(4); break;
    case keypos::Point: PointKey(); break;
    case keypos::Pi: Arithmetic(5); break;
    case keypos::Cont: ContKey(); break;
    case keypos::GoTo: GoToKey(); break;
    case keypos::StepPrgm:
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

void Calculator::ShowExtResult(ExtResult result) {
    if (result != ExtResult::Done)
        ShowExtMemError(result);
    else
        RefreshDisplay();
}

void Calculator::GoToKey() {
    if (ExtMemReady()) {
        ShowExtResult(host_.ExtMemory()->GoTo(XReg, LentProgram()));
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
        ShowExtResult(host_.ExtMemory()->SetFlag(XReg));
    else
        Flags.UserFlag = 1;
    EndEntry();
}

void Calculator::StoreYKey() {
    if (ExtMemReady()) {
        ShowExtMemError(host_.ExtMemory()->StoreY(XReg, YReg));
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
    ExtMemoryPort* ext = host_.ExtMemory();
    if (host_.Plotter()) {
        Flags.FmtPending = 1;
    } else if (ext && ext->On()) {
        if (wasPending) {
            PcRow = PcStep = 0;
            ShowExtResult(ext->FmtFmt(XReg, LentProgram()));
            EndEntry();
        } else {
            Flags.FmtPending = 1;
            ext->LampOff();
        }
    } else if (Running) {
        StopProgram(); // FMT with nothing attached stops a program
    }
}

bool Calculator::PlotterKey(PlotterCommand command) {
    PlotterPort* plotter = host_.Plotter();
    if (!Flags.FmtPending || !plotter) return false;
    long double y = 0, x = 0;
    RegToExt(YReg, y);
    RegToExt(XReg, x);
    auto coordinate = [](long double v) {
        return static_cast<int>(std::fabs(v) > 10000.0L ? 20000.0L : v);
    };
    const PlotterReply r = plotter->Command(command, DecimalWheel, coordinate(x), coordinate(y));
    if (r == PlotterReply::Refused) return false;
    if (r == PlotterReply::Busy) {
        PendingAction |= pending::WaitPlotter;
        PlotterRetry = Running;
        if (!Running) host_.StartChgModeTimer();
    } else if (Running && command != PlotterCommand::Stop &&
               plotter->State() == PlotterStatus::Busy) {
        // The calculator takes no further step while the carriage travels.
        PendingAction |= pending::WaitPlotter;
    }
    return true;
}

void Calculator::ShiftKey(bool down) {
    const bool taken = PlotterKey(down ? PlotterCommand::ShiftDown : PlotterCommand::ShiftUp);
    if (!taken && down) {
        XReg = YReg;
        YReg = ZReg;
    } else if (!taken) {
        ZReg = YReg;
        YReg = XReg;
    }
    const bool retry = taken && PlotterRetry;
    EndEntry();
    // The plotter was busy with the last move: the step runs again when it is ready, and the
    // command must reach the plotter then rather than shift the stack.
    if (retry) Flags.FmtPending = 1;
}

void Calculator::StopProgram() {
    Flags.FmtPending = 1;
    PlotterKey(PlotterCommand::Stop); // STOP always reaches an open plotter
    if (ExtMemoryPort* ext = host_.ExtMemory()) ext->LampOff();
    PauseTicks = 0;
    if (ListingMode != 0) host_.EndListing();
    host_.StopPaperFeed();
    Running = false;
    // STOP right after CONT, before the timer fired; or during a wait for the pen, which a
    // stopped program no longer needs (keys typed meanwhile then act when the pen is home).
    PendingAction &= ~(pending::Run | pending::WaitPlotter);
    EndEntry();
}

void Calculator::EndKey() {
    if (ExtMemReady() && Running) {
        ShowExtResult(host_.ExtMemory()->End(XReg, LentProgram()));
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
    if (host_.KeyHeld(keypos::Pause)) {
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
            if (host_.KeyHeld(keypos::Pause)) StopProgram();
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
