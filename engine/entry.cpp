// Number entry: digit, point, CHG SIGN and ENTER EXP keys write digits and blank bits
// straight into the words of X.
#include "engine/calculator.h"

namespace orrindale {

namespace {
bool IsBlank(int32_t word) {
    return (word & kBlankBit) != 0;
}
} // namespace

void Calculator::ResetEntry() {
    Flags.EntryActive = 0;
    Flags.ExponentEntry = 0;
    Flags.PointEntered = 0;
    Flags.StartedWithPoint = 0;
    Flags.LeadingZeros = 1;
    EntryPos = 9;
    ExpCount = 10;
    EntrySign = 0;
}

// Blank bits: the blank bit of a mantissa word hides that digit of the mantissa, word 9 being
// the leading digit whatever the exponent. Entry clears it in each word it writes a digit to,
// ShowDigits and BlankTrailing in the digits of a result that count. The zeros the fixed format
// puts between the point and a fraction's leading digit belong to no word and always show, so
// keyed zeros after the point open no word of their own: . 0 0 5 shows .005, as 1/200 does.

// The leading digit word shows from the first zero keyed after the point, so that the zeros
// keyed so far read .0, .00 while the first significant digit is awaited.
void Calculator::ShowLeadingZero() {
    XReg[kLeadWord] = (XReg[kLeadWord] & kDigitMask) | EntrySign;
}

// Stores digit a at the entry position. The first ten digits fill words 9 down to 0; the
// eleventh goes into guard word 13 and the twelfth into word 12, both blank. After that the
// last two keyed stay, word 13 the earlier. Word 13 lacks its blank bit while it holds only
// the eleventh digit: that is how the twelfth digit knows not to move it.
void Calculator::StoreDigit(int a) {
    if (EntryPos <= 9) {
        XReg[EntryPos] = a | EntrySign;
        EntryPos = EntryPos == 0 ? 12 : EntryPos - 1;
    } else if (EntryPos == 12) {
        XReg[kGuard1] = a | EntrySign;
        EntryPos = 13;
    } else {
        if (IsBlank(XReg[kGuard1]))
            XReg[kGuard1] = XReg[kGuard2];
        else
            XReg[kGuard1] |= kBlankBit;
        XReg[kGuard2] = a | EntrySign | kBlankBit;
    }
}

// Adds one to the exponent digits. With the cap (zeros after a leading point), the
// exponent never reaches ten: a nonzero tens digit sends both digits back to 0.
void Calculator::BumpExponent(bool capped) {
    int units = XReg[kExpUnits] & kDigitMask;
    int tens = XReg[kExpTens] & kDigitMask;
    if (++units > 9) {
        units = 0;
        if (++tens > 9) tens = 0;
    }
    if (capped && tens != 0) units = tens = 0;
    XReg[kExpUnits] = (XReg[kExpUnits] & 0x30) | units;
    XReg[kExpTens] = (XReg[kExpTens] & 0x30) | tens;
}

void Calculator::DigitKey(int a) {
    if (Flags.ExponentEntry) {
        // At most two exponent digits, shifting in from the right.
        if (ExpCount <= 11) {
            XReg[kExpTens] = XReg[kExpUnits] | EntrySign;
            XReg[kExpUnits] = a | EntrySign;
            ++ExpCount;
        }
        RefreshDisplay();
        return;
    }
    if (!Flags.EntryActive) {
        ClearReg(XReg, true);
        if (Flags.PointEntered) {
            XReg[kExpUnits] = kSignBit;
            XReg[kExpTens] = kSignBit;
            Flags.StartedWithPoint = 1;
        }
    }
    // A zero keyed before any other digit and before a point starts nothing.
    bool starts = a != 0 || Flags.PointEntered || EntryPos != 9;
    bool room = (EntryPos >= 0 && EntryPos <= 9) || EntryPos == 12 || EntryPos == 13;
    if (starts && room) {
        if (Flags.StartedWithPoint && Flags.LeadingZeros)
            BumpExponent(true);
        else if (Flags.EntryActive && !Flags.PointEntered)
            BumpExponent(false);
        if (a > 0) Flags.LeadingZeros = 0;
        if (Flags.LeadingZeros)
            ShowLeadingZero();
        else
            StoreDigit(a);
        Flags.EntryActive = 1;
    }
    RefreshDisplay();
}

void Calculator::PointKey() {
    if (Flags.ExponentEntry) {
        Flags.ExponentEntry = 0;
        EntrySign = 0;
    } else {
        Flags.PointEntered = 1;
        if (!Flags.EntryActive) {
            ClearReg(XReg, true);
            Flags.LeadingZeros = 1;
        }
    }
    ClearPrefixes();
    RefreshDisplay();
}

void Calculator::ChangeSignKey() {
    int target = Flags.ExponentEntry ? kExpTens : kLeadWord;
    if (XReg[target] & kSignBit) {
        XReg[target] &= ~kSignBit;
        EntrySign = 0;
    } else {
        XReg[target] |= kSignBit;
        EntrySign = kSignBit;
    }
    if (!Flags.EntryActive) {
        // A result: every digit word carries the sign.
        for (int word : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12, 13}) {
            if (EntrySign)
                XReg[word] |= kSignBit;
            else
                XReg[word] &= ~kSignBit;
        }
    }
    ClearPrefixes();
    RefreshDisplay();
}

void Calculator::EnterExpKey() {
    Flags.ExponentEntry = 1;
    EntrySign = 0;
    ExpCount = 10;
    XReg[kExpUnits] = 0;
    XReg[kExpTens] = 0;
    if (!Flags.EntryActive) {
        // ENTER EXP alone gives 1 x 10^0.
        ClearReg(XReg, true);
        XReg[kLeadWord] = 1;
        Flags.EntryActive = 1;
    }
    ClearPrefixes();
    RefreshDisplay();
}

void Calculator::BlankTrailing(TCalcRegister& r) const {
    for (int i = 0; i <= 9; ++i) {
        int word = kLeadWord - i;
        r[word] |= kBlankBit;
        if (i <= DecimalWheel || (r[word] & kDigitMask) != 0) r[word] &= ~kBlankBit;
    }
}

void Calculator::ShowDigits(TCalcRegister& r, bool integerOnly) {
    int n = IsNegative(r, SignOf::Exponent) ? 0 : 10 * DigitOf(r[kExpTens]) + DigitOf(r[kExpUnits]);
    int lowestShown = kLeadWord - (n > 9 ? 9 : n);
    for (int word = kLeadWord; word >= lowestShown; --word)
        r[word] &= ~kBlankBit;
    if (integerOnly) {
        for (int word = lowestShown - 1; word >= 0; --word)
            r[word] |= kBlankBit;
        return;
    }
    for (int word = 0; word < lowestShown; ++word) {
        if ((r[word] & kDigitMask) != 0) {
            for (int above = word; above < lowestShown; ++above)
                r[above] &= ~kBlankBit;
            return;
        }
    }
}

} // namespace orrindale
