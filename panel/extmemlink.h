// The HP 9101A beside the calculator: registers the memory window's factory with Peripherals,
// hands the engine the memory's port while the window is open, opens the program viewer on the
// memory (the viewer and the memory never see each other; they meet here through ViewerMemory),
// and keeps the memory's files when the calculator closes.
#pragma once

#include "common/services.h"
#include "engine/ports.h"
#include "panel/peripherals.h"
#include "viewer/view.h"

namespace orrindale {

class Calculator;
class TmemFM;

// The memory as the viewer's expanded mode sees it: its 3472 words, its state reset, its LINE
// switch and its files.
ViewerMemory ExpandedMemoryOf(TmemFM& window);

class ExtMemoryLink {
public:
    ExtMemoryLink(const Services& services, Calculator& calc, QWidget* owner)
        : services_(services), calc_(calc), owner_(owner) {}

    void Register(Peripherals& peripherals);
    // The open memory window, or null.
    TmemFM* Window() const;
    // The memory while its window is open, else null.
    ExtMemoryPort* Port() const;
    // The calculator is closing: the memory and its switches are written.
    void SaveAtClose();

private:
    void ViewMemory(TmemFM& window);

    const Services& services_;
    Calculator& calc_;
    QWidget* owner_;
    Peripherals* peripherals_ = nullptr;
};

} // namespace orrindale
