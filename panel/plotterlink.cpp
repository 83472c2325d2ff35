#include "panel/plotterlink.h"

#include "plotter/plotwindow.h"

namespace orrindale {

std::unique_ptr<QWidget> PlotterLink::MakeWindow(std::function<void()> requestRelease) {
    auto window = std::make_unique<TplotFM>(
        services_, TplotFM::Context{.PowerOn = panel_.PowerOn,
                                    .RequestRelease = std::move(requestRelease),
                                    .MakeFeed = {},
                                    .MotionEnded = panel_.MotionEnded,
                                    .CalculatorFrame = panel_.Frame,
                                    .Taken = [this] { return Taken(); }});
    // Without its picture the window is never shown.
    if (!window->LoadPicture()) return nullptr;
    return window;
}

void PlotterLink::PowerChanged(bool on) {
    if (TplotFM* window = OpenWindow<TplotFM>()) window->CalcPowerChanged(on);
}

std::vector<StateWrite> PlotterLink::WritesAtClose() const {
    TplotFM* window = OpenWindow<TplotFM>();
    return window ? window->WritesAtClose() : std::vector<StateWrite>{};
}

void PlotterLink::ShutDown() {
    if (TplotFM* window = OpenWindow<TplotFM>()) window->ShutDown();
}

PlotterPort* PlotterLink::Plotter() const {
    TplotFM* window = OpenWindow<TplotFM>();
    return window ? &window->Model() : nullptr;
}

OpenFailure PlotterLink::OpenFile(const QString& path) {
    auto* window = qobject_cast<TplotFM*>(Owner().Open(Peripherals::Kind::Plotter));
    return window ? window->OpenPlotFile(path) : NoWindow(path);
}

} // namespace orrindale
