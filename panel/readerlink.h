// The marked card reader beside the calculator: makes its window on the one card stack and puts
// it where it hides neither the display nor the keys. The reader has no port and keeps nothing
// at close; the card editor and the viewer's card export stay with the main window (they are
// modal, markedcards.cpp).
#pragma once

#include "common/services.h"
#include "panel/peripherallink.h"

namespace orrindale {

class Calculator;

class ReaderLink final : public PeripheralLink {
public:
    struct Panel {
        Calculator* Calc = nullptr;
        // Keeps the calculator's display dark while a card passes.
        std::function<void(bool hidden)> SetDisplayHidden;
        // Where a reader of that size opens on the screen.
        std::function<QPoint(QSize reader)> Place;
    };

    ReaderLink(Peripherals& peripherals, const Services& services, Panel panel)
        : PeripheralLink(peripherals, Peripherals::Kind::CardReader), services_(services),
          panel_(std::move(panel)) {}

    std::unique_ptr<QWidget> MakeWindow(std::function<void()> requestRelease) override;
    bool Takes(FileKind kind) const override { return kind == FileKind::CardStack; }
    OpenFailure OpenFile(const QString& path) override;

private:
    const Services& services_;
    Panel panel_;
};

} // namespace orrindale
