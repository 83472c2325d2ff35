#include "plotter/plotfile.h"

#include <algorithm>
#include <string>

#include "plotter/plottermodel.h"

namespace orrindale {

namespace {
constexpr int kLowestEntry = -255;
constexpr int kKnobMax = 250;

// Decodes a negative entry by its magnitude's bits, in this order of precedence.
enum class Code { PenState, Grid, Colour, Dot, None };
Code CodeOf(int32_t entry, int& value) {
    const int64_t m = -static_cast<int64_t>(entry);
    value = static_cast<int>(m & 15);
    if (m & 16) return Code::PenState;
    if (m & 32) return Code::Grid;
    if (m & 64) return Code::Colour;
    if (m & 128) return Code::Dot;
    return Code::None;
}
} // namespace

bool ParsePlotRecord(const TextList& lines, std::vector<int32_t>& record) {
    std::vector<int32_t> parsed;
    parsed.reserve(lines.size());
    for (const std::string& line : lines) {
        int value = 0;
        if (!ParseDecimal(line, value) || value < kLowestEntry) return false;
        parsed.push_back(value);
    }
    record = std::move(parsed);
    return true;
}

TextList FormatPlotRecord(const std::vector<int32_t>& record) {
    TextList lines;
    lines.reserve(record.size());
    for (int32_t entry : record)
        lines.push_back(std::to_string(entry));
    return lines;
}

bool RecordPenDown(const std::vector<int32_t>& record) {
    for (auto it = record.rbegin(); it != record.rend(); ++it) {
        int value = 0;
        if (*it < 0 && CodeOf(*it, value) == Code::PenState) return value != 0;
    }
    return false;
}

void ReplayRecord(const std::vector<int32_t>& record, ReplaySink& sink) {
    bool down = false, seen = false;
    int x = 0, y = 0;
    for (int32_t entry : record) {
        if (entry >= 0) {
            const int nx = entry / 65536, ny = entry % 65536;
            sink.Point(x, y, nx, ny, seen && down);
            x = nx;
            y = ny;
            seen = true;
            continue;
        }
        int value = 0;
        switch (CodeOf(entry, value)) {
        case Code::PenState: down = value != 0; break;
        case Code::Grid: sink.Grid(value); break;
        case Code::Colour: sink.Colour(value); break;
        case Code::Dot: sink.Dot(x, y); break;
        case Code::None: break;
        }
    }
}

std::vector<int32_t> RecordFrom(const std::vector<int32_t>& record, std::size_t from) {
    if (from == 0) return record;
    from = std::min(from, record.size());
    bool down = false;
    int32_t colour = 0, point = -1;
    for (std::size_t i = 0; i < from; ++i) {
        int value = 0;
        if (record[i] >= 0)
            point = record[i];
        else if (const Code code = CodeOf(record[i], value); code == Code::PenState)
            down = value != 0;
        else if (code == Code::Colour)
            colour = record[i];
    }
    std::vector<int32_t> shown;
    if (colour != 0) shown.push_back(colour);
    // The pen goes to where the earlier entries left it without drawing there.
    if (point >= 0) shown.insert(shown.end(), {plot::kPenUp, point});
    shown.push_back(down ? plot::kPenDown : plot::kPenUp);
    shown.insert(shown.end(), record.begin() + static_cast<std::ptrdiff_t>(from), record.end());
    return shown;
}

// ---- Settings ----------------------------------------------------------------------------------

namespace {
bool ParseKnobs(const std::string& text, PlotSettings& s) {
    std::array<int, 8> fields{};
    for (int i = 0; i < 8; ++i)
        if (!ParseDecimal(GetTildeField(text, i), fields[static_cast<size_t>(i)])) return false;
    for (size_t k = 1; k <= 4; ++k) {
        // A knob turns through 250 degrees; an edited file cannot take it further.
        s.knobBase[k] = std::clamp(fields[2 * (k - 1)], 0, kKnobMax);
        s.knobValue[k] = std::clamp(fields[2 * (k - 1) + 1], 0, kKnobMax);
    }
    return true;
}

void ParseKeyed(int key, const std::string& text, PlotSettings& s) {
    int value = 0;
    const bool number = ParseDecimal(text, value);
    switch (key) {
    case 1: s.paperHeld = number && value == 0; break;
    case 2: s.modeOn = number && value == 0; break;
    // Pen and grid outside their ranges would be saved into the record as entries that make
    // the plot file unreadable; they fall back to what the paper draws for them.
    case 3: s.penIndex = number && value >= 0 && value <= 3 ? value : 3; break;
    case 4: s.gridIndex = number && value >= 0 && value <= 2 ? value : 0; break;
    case 5: s.penX = number ? value : 0; break;
    case 6: s.penY = number ? value : 0; break;
    case 7: s.plotSpeed = number ? value : 50; break;
    case 8:
        // Both numbers or neither: half a place would put the window anywhere.
        s.placed = ParseDecimal(GetTildeField(text, 0), s.left) &&
                   ParseDecimal(GetTildeField(text, 1), s.top);
        break;
    default: break;
    }
}
} // namespace

void ParsePlotSettings(const TextList& lines, PlotSettings& s) {
    for (std::string line : lines) {
        const int key = TakeLineKey(line, true);
        if (key < 0) continue;
        if (key == 0) {
            // The knob text is the first line whole: its key digits are leading zeros.
            if (!ParseKnobs(lines.front(), s)) {
                s.knobBase = {};
                s.knobValue = {};
                return;
            }
            continue;
        }
        ParseKeyed(key, line, s);
    }
}

TextList FormatPlotSettings(const PlotSettings& s) {
    std::string knobs;
    for (size_t k = 1; k <= 4; ++k)
        knobs += std::to_string(s.knobBase[k]) + "~" + std::to_string(s.knobValue[k]) + "~";
    TextList lines{LineKey(0) + knobs,
                   LineKey(1) + BooleanText(!s.paperHeld),
                   LineKey(2) + BooleanText(!s.modeOn),
                   LineKey(3) + std::to_string(s.penIndex),
                   LineKey(4) + std::to_string(s.gridIndex),
                   LineKey(5) + std::to_string(s.penX),
                   LineKey(6) + std::to_string(s.penY),
                   LineKey(7) + std::to_string(s.plotSpeed)};
    if (s.placed)
        lines.push_back(LineKey(8) + std::to_string(s.left) + "~" + std::to_string(s.top) + "~");
    return lines;
}

PlotSettings SettingsOf(const PlotterModel& m) {
    PlotSettings s;
    s.knobBase = m.knobBase;
    s.knobValue = m.knobValue;
    s.paperHeld = m.paperHeld;
    s.modeOn = m.modeOn;
    s.penIndex = m.penIndex;
    s.gridIndex = m.gridIndex;
    s.penX = m.penX;
    s.penY = m.penY;
    s.plotSpeed = m.plotSpeed;
    return s;
}

void ApplySettings(const PlotSettings& s, PlotterModel& m) {
    m.knobBase = s.knobBase;
    m.knobValue = s.knobValue;
    m.knobDragY = {-1, -1, -1, -1, -1};
    m.SetPaperHold(s.paperHeld, false);
    m.SetMode(s.modeOn, false);
    m.penIndex = s.penIndex;
    m.gridIndex = s.gridIndex;
    m.penX = s.penX;
    m.penY = s.penY;
    m.plotSpeed = s.plotSpeed;
}

} // namespace orrindale
