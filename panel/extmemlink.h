// The HP 9101A beside the calculator: makes the memory window, hands the engine the memory's
// port while the window is open, opens the program viewer on the memory (the viewer and the
// memory never see each other; they meet here through ViewerMemory), and keeps the memory's
// files when the calculator closes.
#pragma once

#include "common/services.h"
#include "panel/peripherallink.h"
#include "viewer/view.h"

namespace orrindale {

class Calculator;
class TmemFM;

// The memory as the viewer's expanded mode sees it: its 3472 words, its state reset, its LINE
// switch and its files.
ViewerMemory ExpandedMemoryOf(TmemFM& window);

class ExtMemoryLink final : public PeripheralLink {
public:
    ExtMemoryLink(Peripherals& peripherals, const Services& services, Calculator& calc,
                  QWidget* owner)
        : PeripheralLink(peripherals, Peripherals::Kind::ExtMemory), services_(services),
          calc_(calc), owner_(owner) {}

    std::unique_ptr<QWidget> MakeWindow(std::function<void()> requestRelease) override;
    bool Takes(FileKind kind) const override { return kind == FileKind::Memory; }
    OpenFailure OpenFile(const QString& path) override;
    // The memory and its switches.
    std::vector<StateWrite> WritesAtClose() const override;
    void ShutDown() override;
    ExtMemoryPort* ExtMemory() const override;
    // The open memory window, or null.
    TmemFM* Window() const;

private:
    void ViewMemory(TmemFM& window);

    const Services& services_;
    Calculator& calc_;
    QWidget* owner_;
};

} // namespace orrindale
