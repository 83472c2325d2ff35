// The marked card editor's card without its window: the marks grid of the card picture, the
// current card with its rows, and the two ways a program becomes cards (a listing read as text,
// and the viewer's export). The window (cardeditor.h) forwards clicks here and draws the rows.
#pragma once

#include <array>
#include <vector>

#include "cards/marked/cardstack.h"
#include "engine/keys.h"

namespace orrindale {

// Where the marks lie on the card picture "HP9pgcd.dat"; the picture is drawn from the same
// table (tools/mkpictures).
namespace cardgrid {
inline constexpr int kCardWidth = 260, kCardHeight = 480;
inline constexpr std::array<int, 7> kColumnX{111, 130, 148, 167, 185, 204, 223};
inline constexpr int kMarkWidth = 11, kMarkHeight = 7;
inline constexpr std::array<int, kCardRows> kRowY{88,  100, 112, 126, 138, 151, 164, 176, 188, 200,
                                                  214, 226, 239, 251, 263, 276, 288, 301, 314, 327,
                                                  339, 352, 364, 376, 390, 402, 414, 427, 439};
// The row-29 box: where a click toggles it, and the rectangle drawn.
inline constexpr int kBoxLeft = 236, kBoxRight = 242, kBoxTop = 446, kBoxBottom = 452;
inline constexpr int kBoxDrawLeft = 234, kBoxDrawTop = 447, kBoxDrawRight = 242,
                     kBoxDrawBottom = 450;
inline constexpr int kCodeCentreX = 97, kMnemonicCentreX = 70;
inline constexpr int kNumberCentreX = 152, kNumberTop = 27;
// The bit a column stands for: column 0 is 64, column 6 is 1.
inline constexpr int ColumnBit(int column) {
    return 64 >> column;
}
} // namespace cardgrid

enum class MarkButton { Left, Other };

// What a click on the card hit.
enum class CardHit { None, Mark, Row29Box };

class MarkedCard {
public:
    int Current = 0; // card index 0-98, -1 for none
    CardRows Rows{};
    int Row = 0; // the current row 0-28

    void Store(CardLines& list) const;
    void Load(const CardLines& list);

    // A click released at (x, y) of the card picture, with a current card. Marks change the
    // row and the card becomes used; Row29Box toggles the card's row-29 mark.
    CardHit Click(int x, int y, MarkButton button, TCardStack& stack, CardLines& list);
    // The instruction list's double click: the key's code at the current row, then the next
    // row (after row 28 row 0).
    void EnterKey(TKeyPos pos, TCardStack& stack, CardLines& list);
};

// Program codes cut into card lines of 28 codes and a 29th field 0, up to and including the
// last non-zero code (all of them when none is), at most 99 cards. For a listing read as text.
std::vector<std::string> CardsOfListing(const std::vector<int>& codes);
// The viewer's export: cards of 28 codes up to and including the first END (code 38); the rest
// of that card stays 0. Without END every code is taken.
std::vector<std::string> CardsUntilEnd(const std::vector<int>& codes);

} // namespace orrindale
