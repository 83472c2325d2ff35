#include "cards/marked/cardstack.h"

namespace orrindale {

void TCardStack::ClearStack(CardLines& list) {
    list.fill(std::string());
    Used.fill(false);
    Row29.fill(false);
    Titles = StackTitles{};
}

namespace {

// A card's line of the file: used mark "~" row-29 mark "~" card line.
bool ReadCardEntry(const std::string& entry, bool& used, bool& row29, std::string& line) {
    const size_t first = entry.find('~');
    if (first == std::string::npos) return false;
    const size_t second = entry.find('~', first + 1);
    if (second == std::string::npos) return false;
    if (!ParseBoolean(std::string_view(entry).substr(0, first), used)) return false;
    if (!ParseBoolean(std::string_view(entry).substr(first + 1, second - first - 1), row29))
        return false;
    line = entry.substr(second + 1);
    return ValidCardLine(line);
}

} // namespace

bool TCardStack::ReadStackLines(const TextList& lines, CardLines& list) {
    ClearStack(list);
    if (lines.size() < static_cast<size_t>(kTitleLines) ||
        lines.size() - kTitleLines >= static_cast<size_t>(kStackCards) + 1)
        return false;
    for (size_t i = kTitleLines; i < lines.size(); ++i) {
        const size_t card = i - kTitleLines;
        bool used = false, row29 = false;
        if (!ReadCardEntry(lines[i], used, row29, list[card])) {
            ClearStack(list);
            return false;
        }
        Used[card] = used;
        Row29[card] = row29;
    }
    Titles = {lines[0], lines[1], lines[2], lines[3], lines[4]};
    return true;
}

bool TCardStack::LoadStackFile(const std::string& path, CardLines& list) {
    TextList lines;
    if (!LoadScrambledTextList(path, lines, kStackFileLimits)) {
        ClearStack(list);
        return false;
    }
    return ReadStackLines(lines, list);
}

TextList TCardStack::StackFileLines(const CardLines& list, int cards) const {
    TextList lines{Titles.Name, Titles.Title, Titles.Day, Titles.Month, Titles.Year};
    for (int i = 0; i < cards && i < kStackCards; ++i) {
        const size_t card = static_cast<size_t>(i);
        lines.push_back(std::string(BooleanText(Used[card])) + "~" + BooleanText(Row29[card]) +
                        "~" + list[card]);
    }
    return lines;
}

bool TCardStack::SaveStackFile(const std::string& path, const CardLines& list, int cards) const {
    return SaveScrambledTextList(path, StackFileLines(list, cards));
}

int TCardStack::UsedCount() const {
    int count = 0;
    for (bool used : Used)
        count += used ? 1 : 0;
    return count;
}

int TCardStack::NthUsed(int n) const {
    for (int card = 0; card < kStackCards; ++card)
        if (Used[static_cast<size_t>(card)] && n-- == 0) return card;
    return -1;
}

CardRows RowsOfLine(const std::string& line) {
    CardRows rows{};
    for (int r = 0; r < kCardRows; ++r) {
        int value = 0;
        if (ParseDecimal(GetTildeField(line, r), value)) rows[static_cast<size_t>(r)] = value;
    }
    return rows;
}

std::string LineOfRows(const CardRows& rows) {
    std::string line;
    for (int value : rows)
        line += std::to_string(value) + "~";
    return line;
}

bool ValidCardLine(const std::string& line) {
    if (line.empty()) return true;
    if (CountChar('~', line) != kCardRows) return false;
    for (int r = 0; r < kCardRows; ++r) {
        int value = 0;
        if (!ParseDecimal(GetTildeField(line, r), value) || value < 0 || value > kEndOfCard)
            return false;
    }
    return true;
}

} // namespace orrindale
