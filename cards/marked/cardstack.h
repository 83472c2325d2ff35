// Marked program cards: the card stack and its file, the reader's feed, the editor's card.
//
// How the pieces fit:
// - TCardStack (this header) is the stack of up to 99 marked cards. The used marks, row-29
//   marks and five titles are held once for the whole program (Peripherals in panel/ owns the
//   one stack); the reader and the editor each keep their own list of 99 card lines
//   (CardLines) and hand it to the file routines here. Plain code, no widgets.
// - MarkedCardFeed (cardfeed.h) is the reader's feeding cycle as 50 ms ticks: where the moving
//   card stands and which rows reach the calculator through FeedKeyCode.
// - MarkedCard (markedcard.h) is the editor's current card: mark clicks, the instruction list,
//   the listing cut into cards, the card picture's grid.
// - The windows: TcardReadFM (cardreader.h, non-modal, owned by Peripherals), TprgCrdFM
//   (cardeditor.h, modal, also used unseen by the viewer's export) and TtitleFM
//   (cardtitle.h, "Card Title").
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/hpdata.h"

namespace orrindale {

inline constexpr int kStackCards = 99;
inline constexpr int kCardRows = 29;    // rows of a card; the 29th is read only with its mark
inline constexpr int kEndOfCard = 127;  // all seven marks: no further row is read
inline constexpr int kRowWithMark = 28; // the row behind the row-29 mark
inline constexpr int kTitleLines = 5;
// What a stack file reader takes: the titles and 99 cards of 29 short rows, one line more so
// that a file of too many cards is read and refused by the stack's own check.
inline constexpr TextListLimits kStackFileLimits{256u << 10, kTitleLines + kStackCards + 1};

// A card line: 29 row values, each in decimal followed by "~"; empty for a card that holds
// nothing.
using CardLines = std::array<std::string, kStackCards>;
using CardRows = std::array<int, kCardRows>;

struct StackTitles {
    std::string Name, Title, Day, Month, Year;
};

class TCardStack {
public:
    std::array<bool, kStackCards> Used{};
    std::array<bool, kStackCards> Row29{};
    StackTitles Titles;

    // Empties every line of the list, clears every mark and the titles.
    void ClearStack(CardLines& list);
    // A stack file's lines into the list and the shared marks and titles. A corrupt list
    // leaves the stack empty and gives false.
    bool ReadStackLines(const TextList& lines, CardLines& list);
    // Also false (the stack then empty) for a file that cannot be read.
    bool LoadStackFile(const std::string& path, CardLines& list);
    // The titles, then one line per card for the first `cards` cards of the list.
    TextList StackFileLines(const CardLines& list, int cards = kStackCards) const;
    // Replaces the file atomically; false when the write failed.
    bool SaveStackFile(const std::string& path, const CardLines& list,
                       int cards = kStackCards) const;

    int UsedCount() const;
    // The card index (0-98) of the n-th used card (n from 0), -1 when there are not so many.
    int NthUsed(int n) const;
};

// The row values of a card line; a missing or non-numeric field gives 0.
CardRows RowsOfLine(const std::string& line);
std::string LineOfRows(const CardRows& rows);
// A line as a stack file holds it: empty, or 29 fields each an integer 0 to 127.
bool ValidCardLine(const std::string& line);

} // namespace orrindale
