// The plotter's files: the plot record as lines ("pvpt.dat" and *.ptf files, one signed decimal
// entry a line), the settings ("ptdt.ini", eight keyed lines) and the decoding of a record for
// its replay on the paper or a printed page. Lines in, lines out: the scrambled container is
// hpdata's, so every reader here can be fed hostile text by a fuzz target.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/hpdata.h"

namespace orrindale {

class PlotterModel;

// ---- Plot record -----------------------------------------------------------------------------

// What a plot file reader takes. A record grows for as long as a program plots, well past the
// lines a settings file may have; four million entries of at most twelve characters stay
// within the bytes any data file may have.
inline constexpr TextListLimits kPlotFileLimits{kMaxDataFileBytes, 1u << 22};

// The record held by lines; false (record untouched) when a line is not an integer or is below
// -255 ("ERROR: Plotter file data is corrupt").
bool ParsePlotRecord(const TextList& lines, std::vector<int32_t>& record);
TextList FormatPlotRecord(const std::vector<int32_t>& record);

// What a replay meets in a record, in order.
class ReplaySink {
public:
    virtual ~ReplaySink() = default;
    virtual void Grid(int grid) = 0;
    virtual void Colour(int pen) = 0;
    // A dot at the current point (plot units).
    virtual void Dot(int x, int y) = 0;
    // A line from the previous point, or a move when the pen is up or no point came before.
    virtual void Point(int x0, int y0, int x1, int y1, bool draw) = 0;
};
void ReplayRecord(const std::vector<int32_t>& record, ReplaySink& sink);
// The entries from `from` on, led by what the earlier ones leave set (pen colour, the pen's
// place and whether it is down), so that a replay draws only what they add.
std::vector<int32_t> RecordFrom(const std::vector<int32_t>& record, std::size_t from);
// The pen state the record last names (up for none).
bool RecordPenDown(const std::vector<int32_t>& record);

// ---- Settings ----------------------------------------------------------------------------------

struct PlotSettings {
    std::array<int, 5> knobBase{}, knobValue{}; // [1..4]
    bool paperHeld = false;
    bool modeOn = false;
    int penIndex = 0;
    int gridIndex = 0;
    int penX = 0, penY = 0;
    int plotSpeed = 50;
    // Where the user left the window (its top left on the desktop); unplaced until it was
    // closed once.
    bool placed = false;
    int left = 0, top = 0;
};

// Reads the lines of "ptdt.ini" over the settings given (the creation defaults).
void ParsePlotSettings(const TextList& lines, PlotSettings& settings);
TextList FormatPlotSettings(const PlotSettings& settings);
PlotSettings SettingsOf(const PlotterModel& model);
// Puts the settings into the model, switches without sound.
void ApplySettings(const PlotSettings& settings, PlotterModel& model);

} // namespace orrindale
