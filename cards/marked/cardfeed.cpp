#include "cards/marked/cardfeed.h"

#include "engine/calculator.h"

namespace orrindale {

MarkedCardFeed::FeedCheck MarkedCardFeed::Check(const Calculator& calc,
                                                const TCardStack& stack) const {
    if (calc.Running) return FeedCheck::ProgramRunning;
    if (!calc.PowerOn || count_ >= Total(stack) || moving_) return FeedCheck::Ignored;
    return calc.ProgramMode ? FeedCheck::Ready : FeedCheck::AskRunMode;
}

void MarkedCardFeed::Start(const TCardStack& stack, const CardLines& list) {
    const int card = stack.NthUsed(count_);
    const size_t index = static_cast<size_t>(card < 0 ? 0 : card);
    rows_ = RowsOfLine(card < 0 ? std::string() : list[index]);
    row29_ = card >= 0 && stack.Row29[index];
    rowIndex_ = 0;
    stop_ = false;
    wait_ = 0;
    x_ = kStartX;
    y_ = kStartY;
    tick_ = 0;
    moving_ = true;
}

int MarkedCardFeed::PileOffset() const {
    // The pile grows a pixel a card and starts again every 15 cards.
    int c = count_;
    while (c > kTicks)
        c -= kTicks;
    return c;
}

MarkedCardFeed::Step MarkedCardFeed::Tick(Calculator& calc) {
    Step step;
    if (!moving_) return step;
    ++tick_;
    x_ -= 89.0 / 15.0;
    y_ -= 98.0 / 15.0;
    step.X = static_cast<int>(x_);
    step.Y = static_cast<int>(y_);
    if (tick_ == kPileTick) {
        step.MovePile = true;
        step.PileTop = PileTop();
    }
    ReadCardRow(calc);
    ReadCardRow(calc);
    if (tick_ >= kTicks) {
        moving_ = false;
        step.Finished = true;
        step.MovePile = true;
        step.PileTop = PileTop();
        ++count_;
    }
    return step;
}

void MarkedCardFeed::ReadCardRow(Calculator& calc) {
    if (stop_ || !calc.PowerOn) return;
    if (rowIndex_ >= kCardRows) return;
    if (rowIndex_ < kRowWithMark || row29_) {
        const int v = rows_[static_cast<size_t>(rowIndex_)];
        if (v == kEndOfCard) {
            stop_ = true;
            wait_ = 0;
        } else if (wait_ > 0) {
            --wait_;
        } else if (v >= 0 && v <= 63) {
            calc.FeedKeyCode(v);
            const TKeyPos pos = KeyPosOf[static_cast<size_t>(v)];
            wait_ = calc.ProgramMode || pos > kKeyCount ? 0 : KeyBusyRows[static_cast<size_t>(pos)];
        }
    }
    ++rowIndex_;
}

void MarkedCardFeed::Reset() {
    moving_ = false;
    tick_ = 0;
    count_ = 0;
}

} // namespace orrindale
