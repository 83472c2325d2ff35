// The peripheral windows opened from the pop-up menu: at most one of each, owned here and
// nowhere else.
//
// A window that closes, or that cannot load its picture, calls the requestRelease callback it
// was made with. That only sets the window's bit of PendingAction and starts the mode-change
// timer; the timer's handler asks the engine host to release the window, and the host calls
// Release, which frees it between two program steps, never from inside the window's own
// handlers. A window never deletes itself. Modal windows are not kept here: the function that
// runs one makes it on its stack.
//
// The one marked card stack of the program (its used and row-29 marks and titles) lives here
// too: the reader, the card editor and the viewer's card export are each handed a reference.
#pragma once

#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "cards/marked/cardstack.h"
#include "common/filedrop.h"

namespace orrindale {

class Peripherals {
public:
    enum class Kind { CardReader, Plotter, ExtMemory };
    static constexpr int kKinds = 3;

    // Makes the window of a kind; the callback asks for its release.
    using Factory = std::function<std::unique_ptr<QWidget>(std::function<void()> requestRelease)>;
    // Sets a PendingAction bit and starts the mode-change timer.
    using Request = std::function<void(int bit)>;

    // The windows open clear of the calculator's window where the screen has room.
    Peripherals(const QWidget* calculator, Request request)
        : calculator_(calculator), request_(std::move(request)) {}
    ~Peripherals();
    Peripherals(const Peripherals&) = delete;
    Peripherals& operator=(const Peripherals&) = delete;

    void SetFactory(Kind kind, Factory factory);
    // Which drags any window made from now on takes, and where their files go.
    void SetFileDrops(DropTakes takes, FilesDropped dropped) {
        takes_ = std::move(takes);
        dropped_ = std::move(dropped);
    }
    bool CanOpen(Kind kind) const { return static_cast<bool>(Slot(kind).factory); }
    // Shows the window of this kind, making it first if it is not open; null without a factory.
    QWidget* Open(Kind kind);
    // The open window of this kind, or null.
    QWidget* Window(Kind kind) const { return Slot(kind).window.get(); }

    // What the calculator and the open windows other than `opening` cover on the screen: where
    // a window of that kind is not to open (PlaceClear).
    std::vector<QRegion> Taken(Kind opening) const;

    // The PendingAction bit that releases a kind, and the kind a bit releases.
    static int ReleaseBit(Kind kind);
    // Frees the windows named by the bits (the mode-change timer's doing).
    void Release(int bits);

    TCardStack& CardStack() { return cardStack_; }

private:
    struct Entry {
        Factory factory;
        std::unique_ptr<QWidget> window;
    };
    Entry& Slot(Kind kind) { return slots_[static_cast<size_t>(kind)]; }
    const Entry& Slot(Kind kind) const { return slots_[static_cast<size_t>(kind)]; }

    const QWidget* calculator_;
    Request request_;
    DropTakes takes_;
    FilesDropped dropped_;
    std::array<Entry, kKinds> slots_;
    TCardStack cardStack_;
};

} // namespace orrindale
