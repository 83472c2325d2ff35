// How a peripheral window joins the main window: one link per device.
//
// A link makes its device's window when the menu opens it (Peripherals owns the window and frees
// it after the window asked for its release), is told when the calculator's power changes, saves
// what the device keeps when the calculator closes, shuts the window down after that, and hands
// the engine the device's port while the window is open. TmainFM keeps a list of links and loops
// over it at each of those moments; it knows no peripheral window by name.
//
// Adding a peripheral: its folder (model, file, window), one link here, one menu entry and one
// PendingAction release bit (Peripherals::Kind and Peripherals::ReleaseBit).
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "common/statesave.h"
#include "engine/ports.h"
#include "panel/fileopening.h"
#include "panel/peripherals.h"

namespace orrindale {

class PeripheralLink {
public:
    // Registers MakeWindow as the factory of its kind.
    PeripheralLink(Peripherals& peripherals, Peripherals::Kind kind)
        : peripherals_(peripherals), kind_(kind) {
        peripherals.SetFactory(kind, [this](std::function<void()> requestRelease) {
            return MakeWindow(std::move(requestRelease));
        });
    }
    virtual ~PeripheralLink() = default;
    PeripheralLink(const PeripheralLink&) = delete;
    PeripheralLink& operator=(const PeripheralLink&) = delete;

    // The window, ready to show; null when it cannot be shown (its picture did not load).
    virtual std::unique_ptr<QWidget> MakeWindow(std::function<void()> requestRelease) = 0;
    // The calculator was switched on or off.
    virtual void PowerChanged(bool /*on*/) {}
    // The calculator is closing: the files the device keeps, which it writes with its own.
    virtual std::vector<StateWrite> WritesAtClose() const { return {}; }
    // The calculator has closed: the window goes without questions.
    virtual void ShutDown() {}
    // True for the kind of file from outside that the device opens.
    virtual bool Takes(FileKind /*kind*/) const { return false; }
    // A file from outside of a kind it takes: opened in its window (opened first) as the
    // window's own Load opens it. What went wrong comes back rather than in a box, so that the
    // failures of many files are told at once.
    virtual OpenFailure OpenFile(const QString& /*path*/) { return {}; }
    // The device's port for the engine while its window is open, else null.
    virtual PlotterPort* Plotter() const { return nullptr; }
    virtual ExtMemoryPort* ExtMemory() const { return nullptr; }

protected:
    // The open window, or null.
    template <typename W> W* OpenWindow() const {
        return qobject_cast<W*>(peripherals_.Window(kind_));
    }
    Peripherals& Owner() const { return peripherals_; }
    // What the calculator and the other open peripheral windows cover on the screen, for the
    // window to open clear of them.
    std::vector<QRegion> Taken() const { return peripherals_.Taken(kind_); }
    // The failure of a file whose window could not be shown (its picture did not load).
    static OpenFailure NoWindow(const QString& path) {
        return {
            QStringLiteral("ERROR: The window to open the file in could not be shown"), path, {}};
    }

private:
    Peripherals& peripherals_;
    Peripherals::Kind kind_;
};

} // namespace orrindale
