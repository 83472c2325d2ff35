#include "cards/marked/markedcard.h"

#include <algorithm>

namespace orrindale {

namespace {
constexpr int kCodesPerCard = 28;
constexpr int kEnd = 38;

bool Inside(int v, int start, int size) {
    return v >= start && v < start + size;
}

// Cards of 28 codes followed by a 29th field 0; a last short card is filled with zeros.
std::vector<std::string> CutIntoCards(const std::vector<int>& codes, size_t count) {
    std::vector<std::string> cards;
    for (size_t first = 0; first < count && cards.size() < static_cast<size_t>(kStackCards);
         first += kCodesPerCard) {
        CardRows rows{};
        for (size_t i = 0; i < kCodesPerCard && first + i < count; ++i)
            rows[i] = codes[first + i];
        cards.push_back(LineOfRows(rows));
    }
    return cards;
}
} // namespace

void MarkedCard::Store(CardLines& list) const {
    if (Current >= 0) list[static_cast<size_t>(Current)] = LineOfRows(Rows);
}

void MarkedCard::Load(const CardLines& list) {
    Rows = Current >= 0 ? RowsOfLine(list[static_cast<size_t>(Current)]) : CardRows{};
}

CardHit MarkedCard::Click(int x, int y, MarkButton button, TCardStack& stack, CardLines& list) {
    if (Current < 0) return CardHit::None;
    const size_t card = static_cast<size_t>(Current);
    using namespace cardgrid;
    if (x >= kBoxLeft && x <= kBoxRight && y >= kBoxTop && y <= kBoxBottom) {
        Store(list);
        stack.Used[card] = true;
        stack.Row29[card] = !stack.Row29[card];
        return CardHit::Row29Box;
    }
    Row = 0;
    for (int column = 0; column < static_cast<int>(kColumnX.size()); ++column) {
        if (!Inside(x, kColumnX[static_cast<size_t>(column)], kMarkWidth)) continue;
        for (int r = 0; r < kCardRows; ++r) {
            if (!Inside(y, kRowY[static_cast<size_t>(r)], kMarkHeight)) continue;
            int& value = Rows[static_cast<size_t>(r)];
            if (button == MarkButton::Left)
                value ^= ColumnBit(column);
            else
                value = value != 0 ? 0 : kEndOfCard;
            Row = r;
            Store(list);
            stack.Used[card] = true;
            return CardHit::Mark;
        }
    }
    return CardHit::None;
}

void MarkedCard::EnterKey(TKeyPos pos, TCardStack& stack, CardLines& list) {
    if (Current < 0 || pos < 1 || pos > kKeyCount) return;
    Rows[static_cast<size_t>(Row)] = KeyCodeOf[static_cast<size_t>(pos)];
    Row = Row >= kRowWithMark ? 0 : Row + 1;
    Store(list);
    stack.Used[static_cast<size_t>(Current)] = true;
}

std::vector<std::string> CardsOfListing(const std::vector<int>& codes) {
    size_t count = codes.size();
    const auto last = std::find_if(codes.rbegin(), codes.rend(), [](int c) { return c != 0; });
    if (last != codes.rend()) count = codes.size() - static_cast<size_t>(last - codes.rbegin());
    return CutIntoCards(codes, count);
}

std::vector<std::string> CardsUntilEnd(const std::vector<int>& codes) {
    const auto end = std::find(codes.begin(), codes.end(), kEnd);
    const size_t count =
        end == codes.end() ? codes.size() : static_cast<size_t>(end - codes.begin()) + 1;
    return CutIntoCards(codes, count);
}

} // namespace orrindale
