#include "panel/peripherals.h"

#include "common/placement.h"
#include "engine/calculator.h"

namespace orrindale {

Peripherals::~Peripherals() = default;

void Peripherals::SetFactory(Kind kind, Factory factory) {
    Slot(kind).factory = std::move(factory);
}

int Peripherals::ReleaseBit(Kind kind) {
    switch (kind) {
    case Kind::CardReader: return pending::ReleaseCardReader;
    case Kind::Plotter: return pending::ReleasePlotter;
    case Kind::ExtMemory: return pending::ReleaseExtMem;
    }
    return 0;
}

QWidget* Peripherals::Open(Kind kind) {
    Entry& entry = Slot(kind);
    if (!entry.window) {
        if (!entry.factory) return nullptr;
        const int bit = ReleaseBit(kind);
        entry.window = entry.factory([this, bit] { request_(bit); });
        if (!entry.window) return nullptr;
        if (dropped_) AcceptFileDrops(entry.window.get(), takes_, dropped_);
    }
    entry.window->show();
    entry.window->raise();
    entry.window->activateWindow();
    return entry.window.get();
}

std::vector<QRegion> Peripherals::Taken(Kind opening) const {
    std::vector<QRegion> taken;
    auto add = [&taken](const QWidget* window) {
        if (window && window->isVisible() && !window->isMinimized())
            taken.push_back(ShapeOnScreen(*window));
    };
    add(calculator_);
    for (int k = 0; k < kKinds; ++k)
        if (static_cast<Kind>(k) != opening) add(Window(static_cast<Kind>(k)));
    return taken;
}

void Peripherals::Release(int bits) {
    for (int k = 0; k < kKinds; ++k) {
        const Kind kind = static_cast<Kind>(k);
        if (bits & ReleaseBit(kind)) Slot(kind).window.reset();
    }
}

} // namespace orrindale
