#include "panel/extmemlink.h"

#include "common/messages.h"
#include "engine/calculator.h"
#include "memexp/memwindow.h"

namespace orrindale {

std::unique_ptr<QWidget> ExtMemoryLink::MakeWindow(std::function<void()> requestRelease) {
    TmemFM::Context context;
    context.RequestRelease = std::move(requestRelease);
    context.ViewMemory = [this] {
        if (TmemFM* window = Window()) ViewMemory(*window);
    };
    context.Taken = [this] { return Taken(); };
    auto window = std::make_unique<TmemFM>(services_, std::move(context), owner_);
    // Without its picture the window is let go at once, without a message.
    if (!window->LoadPicture()) return nullptr;
    return window;
}

TmemFM* ExtMemoryLink::Window() const {
    return OpenWindow<TmemFM>();
}

ExtMemoryPort* ExtMemoryLink::ExtMemory() const {
    TmemFM* window = Window();
    return window ? window->Port() : nullptr;
}

std::vector<StateWrite> ExtMemoryLink::WritesAtClose() const {
    TmemFM* window = Window();
    return window ? window->WritesAtClose() : std::vector<StateWrite>{};
}

void ExtMemoryLink::ShutDown() {
    if (TmemFM* window = Window()) window->ShutDown();
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

OpenFailure ExtMemoryLink::OpenFile(const QString& path) {
    auto* window = qobject_cast<TmemFM*>(Owner().Open(Peripherals::Kind::ExtMemory));
    return window ? window->OpenMemoryFile(path) : NoWindow(path);
}

} // namespace orrindale
