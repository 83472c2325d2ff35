#include "panel/readerlink.h"

#include "cards/marked/cardreader.h"

namespace orrindale {

std::unique_ptr<QWidget> ReaderLink::MakeWindow(std::function<void()> requestRelease) {
    TcardReadFM::Context context;
    context.Calc = panel_.Calc;
    context.Stack = &Owner().CardStack();
    context.RequestRelease = std::move(requestRelease);
    context.SetDisplayHidden = panel_.SetDisplayHidden;
    auto reader = std::make_unique<TcardReadFM>(services_, std::move(context));
    // Without its picture the reader has asked for its release; it is not shown.
    if (!reader->LoadPicture()) return nullptr;
    reader->move(panel_.Place(reader->size()));
    return reader;
}

OpenFailure ReaderLink::OpenFile(const QString& path) {
    auto* window = qobject_cast<TcardReadFM*>(Owner().Open(Peripherals::Kind::CardReader));
    return window ? window->OpenStack(path) : NoWindow(path);
}

} // namespace orrindale
