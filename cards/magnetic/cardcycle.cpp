#include "cards/magnetic/cardcycle.h"

#include <algorithm>

#include "engine/calculator.h"

namespace orrindale {

namespace {
constexpr int kUnusedStepCode = 63; // octal 77
} // namespace

bool CardCycle::CanStart(const Calculator& calc) const {
    return calc.PowerOn && !running_ && !calc.Running;
}

void CardCycle::Start(CardMode mode) {
    running_ = true;
    cardMode_ = mode;
    cardScroll_ = 0;
    cardTick_ = 0;
}

CardCycle::Step CardCycle::Tick(TMagneticCard& card, Calculator& calc) {
    Step step;
    if (!running_ || !card.cardPresent) return step;
    if (cardTick_ == 0) {
        cardScroll_ += kTravelPerTick;
        step.Top = std::max(viewHeight_ - kTravelPerTick - cardScroll_, kTopAtRest);
        step.Draw = true;
        if (step.Top != kTopAtRest) return step;
        TransferCardSide(cardMode_, card, calc);
        step.Transferred = true;
    }
    if (++cardTick_ > kRestTicks) {
        running_ = false;
        step.Finished = true;
    }
    return step;
}

void TransferCardSide(CardMode mode, TMagneticCard& card, Calculator& calc) {
    if (mode == CardMode::Enter) {
        const EnterFlags flags = card.EnterCardSide(calc);
        if (flags.EndRead)
            calc.ExecuteKey(pos::End);
        else if (!flags.NonZeroRead)
            calc.RegisterFile[0][0] = kUnusedStepCode;
    } else {
        card.RecordCardSide(calc);
        ClearReg(calc.XReg, true);
        card.cardModified = true;
    }
    calc.RefreshDisplay();
}

} // namespace orrindale
