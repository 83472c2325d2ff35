// The marked card reader's feed, one 50 ms tick at a time.
//
// A card takes 15 ticks to pass the reader; each tick moves the card picture up and to the
// left and reads two rows, so all 29 rows get their chance. In PRGM mode every code row is
// keyed into program memory; in RUN mode each is executed as it is read, and the rows that
// pass while a slow key works (KeyBusyRows) are lost. The window owns the timer, asks the
// RUN-mode question and draws where Tick says the card stands; tests drive it directly.
#pragma once

#include "cards/marked/cardstack.h"

namespace orrindale {

class Calculator;

class MarkedCardFeed {
public:
    static constexpr int kTicks = 15;
    static constexpr double kStartX = 125.0, kStartY = 143.0;
    static constexpr int kPileLeft = 36;
    static constexpr int kPileTop = 45;
    static constexpr int kPileTick = 7; // the pile drops on this tick

    enum class FeedCheck {
        ProgramRunning, // refused with a message
        Ignored,        // off, nothing left to read, or a card still moving
        AskRunMode,     // RUN mode: the rows will be executed, so the user is asked first
        Ready,
    };

    struct Step {
        int X = 0, Y = 0; // the moving card's place
        bool MovePile = false;
        int PileTop = 0;
        bool Finished = false; // the card has passed: it counts as read
    };

    // Counts used cards; the window updates its label from Count and Total.
    int Count() const { return count_; }
    int Total(const TCardStack& stack) const { return stack.UsedCount(); }
    bool Moving() const { return moving_; }

    FeedCheck Check(const Calculator& calc, const TCardStack& stack) const;
    // Takes the next used card of the list and puts it at the reader's mouth.
    void Start(const TCardStack& stack, const CardLines& list);
    Step Tick(Calculator& calc);
    // Reads the row under the head: the tick's doing, twice a tick.
    void ReadCardRow(Calculator& calc);
    // Back to the first card, the card gone from the reader.
    void Reset();

    int PileTop() const { return kPileTop - PileOffset(); }
    const CardRows& Rows() const { return rows_; }
    int RowIndex() const { return rowIndex_; }

private:
    int PileOffset() const;

    int count_ = 0;
    bool moving_ = false;
    CardRows rows_{};
    bool row29_ = false;
    int rowIndex_ = 0;
    bool stop_ = false;
    int wait_ = 0;
    double x_ = kStartX, y_ = kStartY;
    int tick_ = 0;
};

} // namespace orrindale
