// The X-Y plotter beside the calculator: makes its window, tells it of the calculator's power,
// keeps its settings when the calculator closes and hands the engine its model as the port.
#pragma once

#include "common/services.h"
#include "panel/peripherallink.h"

namespace orrindale {

class PlotterLink final : public PeripheralLink {
public:
    struct Panel {
        std::function<bool()> PowerOn;
        // The carriage came to rest: keys typed by hand meanwhile may act now.
        std::function<void()> MotionEnded;
        // Where the calculator stands on the desktop, to open beside it.
        std::function<QRect()> Frame;
    };

    PlotterLink(Peripherals& peripherals, const Services& services, Panel panel)
        : PeripheralLink(peripherals, Peripherals::Kind::Plotter), services_(services),
          panel_(std::move(panel)) {}

    std::unique_ptr<QWidget> MakeWindow(std::function<void()> requestRelease) override;
    bool Takes(FileKind kind) const override { return kind == FileKind::Plot; }
    OpenFailure OpenFile(const QString& path) override;
    void PowerChanged(bool on) override;
    std::vector<StateWrite> WritesAtClose() const override;
    void ShutDown() override;
    PlotterPort* Plotter() const override;

private:
    const Services& services_;
    Panel panel_;
};

} // namespace orrindale
