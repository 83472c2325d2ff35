// Plot pictures for use in other programs: the plot record drawn as an SVG picture, written
// without a toolkit so that keyrun draws the same picture headless as the window exports.
//
// The SVG is the record itself, not a tracing of the paper: each pen-down stretch is one path
// whose points are the record's plot units unchanged, inside a group that turns plot units onto
// the sheet (660 x 440 paper pixels, 15 by 10 inches). Reading the paths back gives the lines
// a replay draws, to the plot unit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrindale {

// The pictures a plot is exported as: SVG, or PNG at the paper's size in the window or at twice
// it.
enum class PlotPictureKind { Svg, Png, Png2x };

// The sheet with the record drawn on it: the grey edge, the grid dotted in paper pixels where
// the record names it, the lines and dots in their pens' colours, one paper pixel wide. startPen
// draws until the record names a pen.
std::string PlotSvg(const std::vector<int32_t>& record, int startPen);

// PlotSvg written atomically to path; false when it could not be.
bool WritePlotSvg(const std::string& path, const std::vector<int32_t>& record, int startPen);

} // namespace orrindale
