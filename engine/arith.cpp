// Arithmetic and functions. Operands are read as extended floats, the result is rounded to
// twelve digits, limited to the exponent range and written back with its blank bits set for
// the display. A fault of the computation (a domain error, a division by zero, an overflow of
// the extended range) yields the error value and lights the lamp; nothing non-finite ever
// reaches a register.
#include <cmath>
#include <cstdint>

#include "engine/calculator.h"

namespace orrindale {

namespace {
constexpr long double kDegreeFactor = 0.01745329252L;
constexpr long double kTwoTo63 = 9223372036854775808.0L;

// Extended memory operation numbers for the four arithmetic keys (ops 1-4).
constexpr int kExtOpOf[5] = {0, 3, 2, 1, 0};

long double Truncate(long double x) {
    // Numbers this large are already integers and do not fit the 64-bit truncation.
    if (std::fabs(x) >= kTwoTo63) return x;
    return static_cast<long double>(static_cast<int64_t>(x));
}
} // namespace

long double Calculator::AngleFactor() const {
    return RadMode ? 1.0L : kDegreeFactor;
}

bool Calculator::ExtMemReady() const {
    const ExtMemoryPort* ext = host_.ExtMemory();
    return Flags.FmtPending && ext && ext->On();
}

void Calculator::StoreResult(TCalcRegister& r, long double value, bool showDigits) {
    long double limited = LimitExt(RoundExt(value));
    if (!ExtToReg(r, limited)) {
        InternalError(4);
        return;
    }
    if (showDigits) ShowDigits(r, false);
}

void Calculator::Arithmetic(int op) {
    long double y = 0, x = 0;
    RegToExt(YReg, y);
    RegToExt(XReg, x);
    if ((op == 3 || op == 4) && (Flags.GoToPending || Flags.RegisterPrefix)) {
        // After GO TO or a register prefix, + and - pick the bank.
        BankSelect = op == 3 ? 2 : 1;
        RefreshDisplay();
        return;
    }
    const int xSign = x < 0 ? -1 : 1;
    long double r = 0;
    auto checked = [&](long double value, int errorSign) {
        return std::isfinite(value) ? value : SetError(errorSign);
    };
    const int busy = FromMarkedCard ? 0 : 1;
    switch (op) {
    case 0:
        r = x < 0 ? SetError(-1) : checked(std::sqrt(x), 1);
        FunctionResult = true;
        break;
    case 1:
    case 2:
    case 3:
    case 4:
        if (ExtMemReady()) {
            ShowExtMemError(host_.ExtMemory()->Arith(y, XReg, kExtOpOf[op]));
            r = y;
        } else if (op == 1) {
            r = x == 0 ? SetError(1) : checked(y / x, 1);
        } else {
            r = checked(op == 2 ? y * x : op == 3 ? y - x : y + x, xSign);
        }
        StoreResult(YReg, r, true);
        EndEntry();
        return;
    case 5:
        if (ExtMemReady()) {
            ShowExtMemError(host_.ExtMemory()->Pi(XReg));
        } else {
            static constexpr int kPiDigits[10] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3};
            for (int i = 0; i < 10; ++i)
                XReg[kLeadWord - i] = kPiDigits[i];
            XReg[kExpUnits] = XReg[kExpTens] = XReg[kGuard2] = 0;
            XReg[kGuard1] = 6;
            BlankTrailing(XReg);
        }
        EndEntry();
        return;
    case 6: r = Truncate(x); break;
    case 7:
    case 8:
    case 9: {
        long double v = 0;
        if (Flags.ArcPending) {
            v = op == 7 ? std::asin(x) : op == 8 ? std::acos(x) : std::atan(x);
            v /= AngleFactor();
        } else if (Flags.HyperPending) {
            v = op == 7 ? std::sinh(x) : op == 8 ? std::cosh(x) : std::tanh(x);
        } else {
            long double a = x * AngleFactor();
            v = op == 7 ? std::sin(a) : op == 8 ? std::cos(a) : std::tan(a);
        }
        r = checked(v, xSign);
        if (std::isfinite(v)) BusyTicks = 280 * busy;
        FunctionResult = true;
        break;
    }
    case 10:
    case 11:
        if (x <= 0)
            r = SetError(x == 0 ? 1 : -1);
        else
            r = op == 10 ? std::log10(x) : std::log(x);
        FunctionResult = true;
        break;
    case 12: {
        long double v = std::exp(x);
        r = checked(v, xSign);
        if (std::isfinite(v)) BusyTicks = 110 * busy;
        FunctionResult = true;
        break;
    }
    default: return;
    }
    StoreResult(XReg, r, false);
    if (FunctionResult)
        BlankTrailing(XReg);
    else if (op == 6)
        ShowDigits(XReg, true);
    EndEntry();
}

void Calculator::ToPolar() {
    long double y = 0, x = 0;
    RegToExt(YReg, y);
    RegToExt(XReg, x);
    long double radius = std::sqrt(x * x + y * y);
    if (!std::isfinite(radius)) radius = SetError(1);
    // The principal value only: no quadrant correction, and x = 0 gives +90 degrees.
    long double angle = x == 0 ? std::atan(9.999999999E99L) : std::atan(y / x);
    angle /= AngleFactor();
    StoreResult(XReg, radius, true);
    StoreResult(YReg, angle, true);
    if (!FromMarkedCard) BusyTicks = 300;
    EndEntry();
}

void Calculator::ToRect() {
    long double theta = 0, radius = 0;
    RegToExt(YReg, theta);
    RegToExt(XReg, radius);
    const int ySign = theta < 0 ? -1 : 1;
    long double a = theta * AngleFactor();
    long double newX = radius * std::cos(a), newY = radius * std::sin(a);
    if (!std::isfinite(newX)) newX = SetError(ySign);
    if (!std::isfinite(newY)) newY = SetError(ySign);
    StoreResult(XReg, newX, true);
    StoreResult(YReg, newY, true);
    if (!FromMarkedCard) BusyTicks = 300;
    EndEntry();
}

void Calculator::Accumulate(int sign) {
    long double y = 0, x = 0, e = 0, f = 0;
    RegToExt(YReg, y);
    RegToExt(XReg, x);
    RegToExt(RegisterFile[14], e);
    RegToExt(RegisterFile[15], f);
    StoreResult(RegisterFile[14], e + sign * y, true);
    StoreResult(RegisterFile[15], f + sign * x, true);
    EndEntry();
}

void Calculator::RecallAccumulators() {
    CopyReg(RegisterFile[14], YReg);
    CopyReg(RegisterFile[15], XReg);
    EndEntry();
}

void Calculator::ShowExtMemError(ExtResult result) {
    ShowExtMemError(static_cast<int>(result));
}

void Calculator::ShowExtMemError(int code) {
    // The digit and exponent units of each code: X reads d.ddddddddddd x 10^(10 + u).
    static constexpr int kDigit[10] = {0, 1, 2, 3, 4, 5, 5, 6, 7, 7};
    static constexpr int kUnits[10] = {0, 5, 5, 5, 5, 4, 5, 5, 3, 4};
    if (code < 1 || code > 9) return;
    for (int word : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13})
        XReg[word] = kDigit[code];
    XReg[kExpTens] = 1;
    XReg[kExpUnits] = kUnits[code];
    if (Running) StopProgram();
}

} // namespace orrindale
