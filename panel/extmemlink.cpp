#include "panel/extmemlink.h"

#include "common/messages.h"
#include "engine/calculator.h"
#include "memexp/memwindow.h"

namespace orrindale {

void ExtMemoryLink::Register(Peripherals& peripherals) {
    peripherals_ = &peripherals;
    peripherals.SetFactory(Peripherals::Kind::ExtMemory, [this](std::function<void()> release) {
        TmemFM::Hooks hooks;
        hooks.RequestRelease = std::move(release);
        hooks.ViewMemory = [this] {
            if (TmemFM* window = Window()) ViewMemory(*window);
        };
        auto window = std::make_unique<TmemFM>(services_, calc_, std::move(hooks), owner_);
        // Without its picture the window is let go at once, without a message.
        if (!window->LoadImage()) return std::unique_ptr<QWidget>();
        return std::unique_ptr<QWidget>(std::move(window));
    });
}

TmemFM* ExtMemoryLink::Window() const {
    if (!peripherals_) return nullptr;
    return qobject_cast<TmemFM*>(peripherals_->Window(Peripherals::Kind::ExtMemory));
}

ExtMemoryPort* ExtMemoryLink::Port() const {
    TmemFM* window = Window();
    return window ? window->Port() : nullptr;
}

void ExtMemoryLink::SaveAtClose() {
    if (TmemFM* window = Window()) window->SaveAtClose();
}

void ExtMemoryLink::ViewMemory(TmemFM& window) {
    if (calc_.Running) {
        services_.Messages->Information("Please stop program running to view code");
        return;
    }
    TviewFM viewer(services_, ExpandedMemoryOf(window), true, &window);
    viewer.exec();
}

ViewerMemory ExpandedMemoryOf(TmemFM& window) {
    MemoryImage& image = window.Memory().Image();
    ViewerMemory memory;
    memory.Read = [&image] {
        std::vector<TKeyCode> codes;
        codes.reserve(static_cast<size_t>(kMemRegisters) * kWords);
        for (const TCalcRegister& r : image.memWords)
            for (int w = 0; w < kWords; ++w)
                codes.push_back(static_cast<TKeyCode>(r[w] & kWordMask));
        return codes;
    };
    memory.Write = [&image](int step, TKeyCode code) {
        image.memWords[static_cast<size_t>(step / kWords)][step % kWords] = code;
    };
    memory.Reset = [&image] { image.ResetMemoryState(); };
    memory.On = window.Memory().LineOn();
    memory.LoadFile = [&window](const QString& path) { return window.ClearMemoryAndLoad(path); };
    memory.SaveFile = [&window](const QString& path) { return window.SaveMemoryFile(path, false); };
    return memory;
}

} // namespace orrindale
