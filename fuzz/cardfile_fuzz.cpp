// A card file, given as the plain text of its list. Whatever it holds, reading it gives a
// loaded card whose steps the engine can take (at most 196 a side, codes 0-63) or the card as it
// was; a loaded card survives a save and a load unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cards/magnetic/magneticcard.h"

namespace {

using namespace orrindale;

bool Holdable(const std::vector<int>& side) {
    if (side.size() > static_cast<size_t>(kCardSideSteps)) return false;
    for (int code : side)
        if (code < 0 || code > 63) return false;
    return true;
}

bool Same(const TMagneticCard& a, const TMagneticCard& b) {
    return a.cardStepsA == b.cardStepsA && a.cardStepsB == b.cardStepsB &&
           a.cardNameA == b.cardNameA && a.cardNameB == b.cardNameB && a.protectA == b.protectA &&
           a.protectB == b.protectB && a.cardSide == b.cardSide && a.cardPresent == b.cardPresent;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TextList lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    TMagneticCard card;
    card.NewCard();
    card.cardStepsA = {1, kEndCode};
    const TMagneticCard before = card;
    switch (card.ReadFileLines(lines, size % 2 == 0)) {
    case CardLoad::Unreadable:
    case CardLoad::Corrupt:
        if (!Same(card, before)) __builtin_trap();
        return 0;
    case CardLoad::Loaded: break;
    }
    if (!card.cardPresent || !Holdable(card.cardStepsA) || !Holdable(card.cardStepsB))
        __builtin_trap();
    // Names with line breaks cannot be kept in a list of lines; everything else must survive.
    if (card.cardNameA.find_first_of("\r\n") != std::string::npos ||
        card.cardNameB.find_first_of("\r\n") != std::string::npos)
        return 0;
    TMagneticCard back;
    if (back.ReadFileLines(card.FileLines(), card.cardSide) != CardLoad::Loaded ||
        !Same(back, card))
        __builtin_trap();
    return 0;
}
