#include "keyrunplotter.h"

#include <cctype>

#include "common/hpdata.h"
#include "plotter/plotexport.h"
#include "plotter/plotfile.h"

namespace orrindale {

KeyrunPlotter::Result KeyrunPlotter::Apply(const std::string& token) {
    std::string verb =
        token.substr(0, token.find('=') == std::string::npos ? token.size() : token.find('=') + 1);
    for (char& c : verb)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (verb == "plotter") {
        attached_ = true;
        model_.CalcPowerChanged(true);
        model_.SetMode(true, false);
        model_.CentreControls();
        model_.Finish();
        model_.NewPlot();
        return Result::Done;
    }
    if (verb != "plot-save=" && verb != "plot-svg=") return Result::NotPlotter;
    if (!attached_) {
        error_ = "no plotter attached";
        return Result::Failed;
    }
    const std::string path = token.substr(verb.size());
    if (verb == "plot-svg=") {
        if (WritePlotSvg(path, model_.plotRecord, model_.penIndex)) return Result::Done;
        error_ = "ERROR: Failed to export picture";
        return Result::Failed;
    }
    if (!SaveScrambledTextList(path, FormatPlotRecord(model_.plotRecord))) {
        error_ = "ERROR: Failed to save file";
        return Result::Failed;
    }
    return Result::Done;
}

void KeyrunPlotter::PowerChanged(bool on) {
    if (!attached_) return;
    model_.CalcPowerChanged(on);
    model_.Finish();
}

PlotterReply KeyrunPlotter::Command(PlotterCommand command, int wheel, int x, int y) {
    const PlotterReply reply = model_.Command(command, wheel, x, y);
    model_.Finish();
    return reply;
}

} // namespace orrindale
