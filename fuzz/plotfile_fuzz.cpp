// The plotter's files, given as the plain text of a body: the first byte picks the plot record
// or the settings. A record read must replay, draw as an SVG picture and write back the same
// lines; settings read must stay in the ranges the window draws and survive a save and a load.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plotter/plotexport.h"
#include "plotter/plotfile.h"

namespace {
struct NullSink : orrindale::ReplaySink {
    void Grid(int) override {}
    void Colour(int) override {}
    void Dot(int, int) override {}
    void Point(int, int, int, int, bool) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    if (size == 0) return 0;
    const TextList lines =
        SplitLines(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (data[0] & 1) {
        std::vector<int32_t> record;
        if (!ParsePlotRecord(lines, record)) return 0;
        NullSink sink;
        ReplayRecord(record, sink);
        if (!PlotSvg(record, (data[0] >> 1) & 3).ends_with("</svg>\n")) __builtin_trap();
        std::vector<int32_t> again;
        if (!ParsePlotRecord(FormatPlotRecord(record), again) || again != record) __builtin_trap();
        return 0;
    }
    PlotSettings s;
    ParsePlotSettings(lines, s);
    if (s.penIndex < 0 || s.penIndex > 3 || s.gridIndex < 0 || s.gridIndex > 2) __builtin_trap();
    for (size_t k = 1; k <= 4; ++k)
        if (s.knobValue[k] < 0 || s.knobValue[k] > 250) __builtin_trap();
    PlotSettings again;
    ParsePlotSettings(FormatPlotSettings(s), again);
    if (FormatPlotSettings(again) != FormatPlotSettings(s)) __builtin_trap();
    return 0;
}
