// The record and enter cycle of the card slot, one 100 ms tick at a time.
//
// On each of the first six ticks the card moves 15 pixels further into the slot; on the sixth
// it reaches the end of its travel and the steps move between program memory and the side
// facing the reader; ten resting ticks later the cycle ends. The owner of the timer calls
// Tick and draws what it says; keyrun runs all ticks at once.
#pragma once

#include "cards/magnetic/magneticcard.h"

namespace orrindale {

class Calculator;

enum class CardMode { Record, Enter };

class CardCycle {
public:
    static constexpr int kTravelPerTick = 15;
    static constexpr int kTopAtRest = 5; // the card view's row the moving card stops at
    static constexpr int kRestTicks = 10;

    // What one tick did: draw the card with its top at row Top of the view (Draw), moved the
    // steps (Transferred), ended the cycle (Finished).
    struct Step {
        bool Draw = false;
        int Top = 0;
        bool Transferred = false;
        bool Finished = false;
    };

    explicit CardCycle(int viewHeight) : viewHeight_(viewHeight) {}

    bool Running() const { return running_; }
    CardMode Mode() const { return cardMode_; }
    // A cycle may start with the power on, no cycle and no program running.
    bool CanStart(const Calculator& calc) const;
    void Start(CardMode mode);
    // Ends the cycle wherever it stands; what was transferred stays.
    void Stop() { running_ = false; }
    Step Tick(TMagneticCard& card, Calculator& calc);

private:
    int viewHeight_;
    bool running_ = false;
    CardMode cardMode_ = CardMode::Enter;
    int cardScroll_ = 0;
    int cardTick_ = 0;
};

// While a program runs the slot takes nothing: its record and enter keys and every command of
// the "Magnetic Card" menu are refused with this message, as the marked card reader refuses to
// feed. The window and keyrun keep this one rule.
inline constexpr char kSlotRunningRefusal[] =
    "The card reader will not operate while a program is running";

// The transfer of a cycle. Enter: the side goes into program memory; a side that held an END
// hands END to the engine as if pressed, a side with nothing but zeros marks row 0 step 0 with
// code 63. Record: program memory goes onto the side, X becomes a blank zero and the card
// counts as modified. The display is refreshed after either.
void TransferCardSide(CardMode mode, TMagneticCard& card, Calculator& calc);

} // namespace orrindale
