#include "cards/magnetic/magneticcard.h"

#include <algorithm>

#include "engine/calculator.h"

namespace orrindale {

// A card file keeps side A's steps in the first 196 step lines and side B's after them, so a
// side A shorter than 196 steps next to a non-empty side B would lose its end to side B. The
// writer therefore fills such a side A up to 196 entries with END steps after its own END:
// entering stops at the first END, so the filling is never entered. An empty side A next to a
// side B is written as one END followed by 195 zero steps: a recording stops at its first END
// and is filled with ENDs, so it never gives that pattern. A side A without END and shorter
// than 196 (only a hand-made file holds one) is filled the same way.
//
// Reading undoes exactly that filling and nothing more, so that every card file saves back as
// it was read: only beside a side B, and only a side A that is the empty pattern or whose
// entries after its first END are all END, is cut back. Entries after an END that are anything
// else are kept, though never entered.

namespace {

// An empty side A as written beside a side B.
std::vector<int> EmptySideA() {
    std::vector<int> a(kCardSideSteps, 0);
    a[0] = kEndCode;
    return a;
}

void FillSideA(TextList& lines, const std::vector<int>& a, bool sideBUsed) {
    const std::vector<int>& written = a.empty() && sideBUsed ? EmptySideA() : a;
    for (int code : written)
        lines.push_back(std::to_string(code));
    if (!sideBUsed) return;
    for (size_t n = written.size(); n < static_cast<size_t>(kCardSideSteps); ++n)
        lines.push_back(std::to_string(kEndCode));
}

// Takes off what FillSideA added; called only when side B holds steps.
void TrimSideA(std::vector<int>& a) {
    if (a == EmptySideA()) {
        a.clear();
        return;
    }
    const auto end = std::find(a.begin(), a.end(), kEndCode);
    if (end != a.end() && std::all_of(end, a.end(), [](int code) { return code == kEndCode; }))
        a.erase(end + 1, a.end());
}

bool ReadStep(const std::string& line, int& code) {
    return ParseDecimal(line, code) && code >= 0 && code <= 63;
}

bool ReadProtection(const std::string& line) {
    bool value = false;
    return ParseBoolean(line, value) && value;
}

} // namespace

void TMagneticCard::ClearCard() {
    *this = TMagneticCard{};
}

void TMagneticCard::NewCard() {
    ClearCard();
    cardPresent = true;
}

TextList TMagneticCard::FileLines() const {
    TextList lines{cardNameA, cardNameB, BooleanText(protectA), BooleanText(protectB)};
    FillSideA(lines, cardStepsA, !cardStepsB.empty());
    for (int code : cardStepsB)
        lines.push_back(std::to_string(code));
    return lines;
}

CardLoad TMagneticCard::ReadFileLines(const TextList& lines, bool side) {
    // Read into a fresh card: a file that fails to load leaves the card in the slot, perhaps
    // recorded and not yet saved, as it was.
    TMagneticCard read;
    bool corrupt = lines.size() < 4 || lines.size() - 4 > static_cast<size_t>(kCardFileSteps);
    for (size_t i = 4; !corrupt && i < lines.size(); ++i) {
        int code = 0;
        corrupt = !ReadStep(lines[i], code);
        (i - 4 < static_cast<size_t>(kCardSideSteps) ? read.cardStepsA : read.cardStepsB)
            .push_back(code);
    }
    if (corrupt) return CardLoad::Corrupt;
    read.cardNameA = lines[0];
    read.cardNameB = lines[1];
    read.protectA = ReadProtection(lines[2]);
    read.protectB = ReadProtection(lines[3]);
    if (!read.cardStepsB.empty()) TrimSideA(read.cardStepsA);
    read.cardFileName = cardFileName;
    read.cardSide = side;
    read.cardPresent = true;
    *this = std::move(read);
    return CardLoad::Loaded;
}

CardLoad TMagneticCard::LoadCardFile(const std::string& path, bool side) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kCardFileLimits.MaxBytes)) return CardLoad::Unreadable;
    // A file that is no scrambled list, or is cut short, is no card file.
    TextList lines;
    if (!ParseScrambledTextList(bytes, lines, kCardFileLimits.MaxLines)) return CardLoad::Corrupt;
    const CardLoad result = ReadFileLines(lines, side);
    if (result == CardLoad::Loaded) cardFileName = path;
    return result;
}

bool TMagneticCard::SaveCardFile(const std::string& path) {
    if (!SaveScrambledTextList(path, FileLines())) return false;
    cardFileName = path;
    cardModified = false;
    return true;
}

void TMagneticCard::RecordCardSide(Calculator& calc) {
    std::vector<int>& side = FacingSteps();
    side.clear();
    for (int n = 0; n < kCardSideSteps; ++n) {
        const TKeyCode code =
            calc.RegisterFile[static_cast<size_t>(calc.PcRow & 63)][calc.PcStep] & kWordMask;
        side.push_back(code);
        AdvancePc(calc.PcRow, calc.PcStep);
        if (code == kEndCode) break;
    }
}

EnterFlags TMagneticCard::EnterCardSide(Calculator& calc) {
    EnterFlags flags;
    for (int code : FacingSteps()) {
        calc.RegisterFile[static_cast<size_t>(calc.PcRow & 63)][calc.PcStep] = code;
        if (code == kEndCode) {
            flags.EndRead = true;
            break;
        }
        AdvancePc(calc.PcRow, calc.PcStep);
        if (code > 0) flags.NonZeroRead = true;
    }
    return flags;
}

std::string CardCaption(const std::string& fileName) {
    return "[" + FileTitle(fileName) + "]";
}

} // namespace orrindale
