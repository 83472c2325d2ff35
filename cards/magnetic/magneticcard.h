// Magnetic program cards: the card, its file, the record and enter cycle, the names dialog.
//
// How the pieces fit:
// - TMagneticCard (this header) is the card in the slot: two sides of program steps with their
//   names and write protection, the card file (*.mcf) and the two transfers between a side and
//   program memory. Plain code: no widgets, no timers, no message boxes; a failure comes back
//   as a result that the caller reports.
// - CardCycle (cardcycle.h) is the record or enter cycle as a sequence of 100 ms ticks: where
//   the card stands in the slot on each tick, and the transfer on the tick the card reaches
//   the end of its travel.
// - TcardFM (cardnames.h) is the "Card Names" dialog shown before a card is saved.
// - The slot on the panel (panel/cardslot.h) owns the card, the cycle and the timer, draws the
//   card and runs the "Magnetic Card" menu; keyrun drives the same card and cycle headless.
#pragma once

#include <string>
#include <vector>

#include "common/hpdata.h"

namespace orrindale {

class Calculator;

inline constexpr int kCardSideSteps = 196; // steps one side holds
inline constexpr int kCardFileSteps = 392; // step lines a card file may hold
// What a card file reader takes: four heading lines and the steps, one line more so that a file
// of too many steps is read and found corrupt; the bytes leave ample room for long names.
inline constexpr TextListLimits kCardFileLimits{64u << 10, 4 + kCardFileSteps + 1};
inline constexpr int kEndCode = 38; // END, octal 46

// A file that fails to load leaves the card as it was.
enum class CardLoad {
    Loaded,
    Corrupt,    // not a card file, or a damaged one
    Unreadable, // missing or unreadable
};

// What entering a side read: an END step, and a step other than 0.
struct EnterFlags {
    bool EndRead = false;
    bool NonZeroRead = false;
};

class TMagneticCard {
public:
    bool cardPresent = false;
    bool cardSide = true; // true: side A faces the reader
    std::string cardNameA, cardNameB;
    std::vector<int> cardStepsA, cardStepsB; // key codes 0..63, at most 196 each
    bool protectA = false, protectB = false;
    std::string cardFileName; // the file last loaded or saved; empty for none
    bool cardModified = false;

    std::vector<int>& FacingSteps() { return cardSide ? cardStepsA : cardStepsB; }
    bool FacingProtected() const { return cardSide ? protectA : protectB; }
    const std::string& FacingName() const { return cardSide ? cardNameA : cardNameB; }

    // Empties everything and takes the card out of the slot.
    void ClearCard();
    // A blank card with side A facing the reader.
    void NewCard();

    // The card file's lines: two names, two protections, side A's steps, side B's steps.
    TextList FileLines() const;
    // Reads a card file's lines into the card with the given side facing the reader. A corrupt
    // list (fewer than four lines, a bad step) leaves the card as it was.
    CardLoad ReadFileLines(const TextList& lines, bool side);
    CardLoad LoadCardFile(const std::string& path, bool side);
    // False when the write failed; the card is then unchanged (and still modified).
    bool SaveCardFile(const std::string& path);

    // Program memory to the facing side: the steps from the program counter up to and
    // including the first END, at most 196; the counter ends one step past the last.
    void RecordCardSide(Calculator& calc);
    // The facing side into program memory at the program counter, up to its first END, which
    // is stored but not passed (the counter stays on it).
    EnterFlags EnterCardSide(Calculator& calc);
};

// The menu caption of a card file: "[" + its title + "]", "[]" for none.
std::string CardCaption(const std::string& fileName);

} // namespace orrindale
