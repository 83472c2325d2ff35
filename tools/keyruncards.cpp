#include "keyruncards.h"

#include <algorithm>
#include <cctype>

#include "cards/magnetic/cardcycle.h"
#include "cards/marked/markedcard.h"
#include "engine/calculator.h"
#include "viewer/listing.h"

namespace orrindale {

namespace {
std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
bool TakePrefix(const std::string& token, const char* prefix, std::string& rest) {
    const std::string p(prefix);
    if (Lower(token.substr(0, p.size())) != p) return false;
    rest = token.substr(p.size());
    return true;
}
} // namespace

KeyrunCards::Result KeyrunCards::Fail(const std::string& why) {
    error_ = why;
    return Result::Failed;
}

bool KeyrunCards::IsSlotToken(const std::string& token) {
    const std::string t = Lower(token);
    std::string path;
    return t == "card-new" || t == "record" || t == "enter" || t == "swap" || t == "protect-a" ||
           t == "protect-b" || TakePrefix(t, "card-load=", path) ||
           TakePrefix(t, "card-save=", path);
}

KeyrunCards::Result KeyrunCards::Apply(const std::string& token, Calculator& calc) {
    const std::string t = Lower(token);
    std::string path;
    if (t == "card-new") {
        card_.NewCard();
    } else if (TakePrefix(token, "card-load=", path)) {
        if (path.empty()) return Fail("no card file named");
        const CardLoad loaded = card_.LoadCardFile(path, true);
        if (loaded == CardLoad::Corrupt) return Fail("Program file data is corrupt: " + path);
        if (loaded == CardLoad::Unreadable) return Fail("cannot read the card file " + path);
    } else if (TakePrefix(token, "card-save=", path)) {
        if (!card_.cardPresent) return Fail("A card is not in the reader slot");
        if (path.empty() || !card_.SaveCardFile(path))
            return Fail("Failed to save program file " + path);
    } else if (TakePrefix(token, "stack-save=", path)) {
        return SaveStack(path, calc);
    } else if (t == "record" || t == "enter" || t == "swap" || t == "protect-a" ||
               t == "protect-b") {
        if (!card_.cardPresent) return Fail("A card is not in the reader slot");
        if (t == "swap") card_.cardSide = !card_.cardSide;
        if (t == "protect-a") card_.protectA = !card_.protectA;
        if (t == "protect-b") card_.protectB = !card_.protectB;
        if (t == "record" || t == "enter") return Cycle(t == "record", calc);
    } else {
        return Result::NotCard;
    }
    return Result::Done;
}

KeyrunCards::Result KeyrunCards::Cycle(bool record, Calculator& calc) {
    if (record && card_.FacingProtected())
        return Fail(card_.cardSide ? "Card A is write protected" : "Card B is write protected");
    CardCycle cycle(108);
    if (!cycle.CanStart(calc)) return Fail("the card cycle needs the power on and no program");
    cycle.Start(record ? CardMode::Record : CardMode::Enter);
    calc.EndEntry();
    calc.BlankDisplay();
    while (cycle.Running())
        cycle.Tick(card_, calc);
    return Result::Done;
}

} // namespace orrindale

namespace orrindale {

KeyrunCards::Result KeyrunCards::SaveStack(const std::string& path, const Calculator& calc) {
    const auto program = listing::ReadProgram(calc);
    const std::vector<std::string> cards = CardsUntilEnd({program.begin(), program.end()});
    TCardStack stack;
    CardLines list;
    const int count = static_cast<int>(std::min(cards.size(), list.size()));
    for (int i = 0; i < count; ++i) {
        list[static_cast<size_t>(i)] = cards[static_cast<size_t>(i)];
        stack.Used[static_cast<size_t>(i)] = true;
    }
    if (path.empty() || !stack.SaveStackFile(path, list, count))
        return Fail("Failed to save file " + path);
    return Result::Done;
}

} // namespace orrindale
