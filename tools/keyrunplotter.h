// keyrun's plotter tokens: the plotter model attached to the engine as the window attaches it,
// with every motion run to its end at once, so plotting programs run headless.
//
//   plotter             attaches the plotter: switched ON, knobs centred, the pen at the zero,
//                       a new plot (red pen, no grid)
//   plot-save=PATH      writes the plot record as a plot file (*.ptf)
//   plot-svg=PATH       writes the plot as an SVG picture, as the window's Export Picture does
#pragma once

#include <string>

#include "plotter/plottermodel.h"

namespace orrindale {

class KeyrunPlotter : public PlotterPort {
public:
    enum class Result { NotPlotter, Done, Failed };

    // token as typed (a path keeps its case); Error() tells why a plotter token failed.
    Result Apply(const std::string& token);
    const std::string& Error() const { return error_; }
    // The port the engine sees: null until "plotter".
    PlotterPort* Port() { return attached_ ? this : nullptr; }
    void PowerChanged(bool on);

    PlotterReply Command(PlotterCommand command, int wheel, int x, int y) override;
    PlotterStatus State() const override { return model_.State(); }

private:
    PlotterModel model_;
    bool attached_ = false;
    std::string error_;
};

} // namespace orrindale
