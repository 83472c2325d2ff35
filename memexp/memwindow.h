// The HP 9101A panel window (TmemFM): a borderless picture of the memory's front with its LINE
// and FIL switches and ON, FIL and FMT lamps. It owns the memory (ExtMemory) and hands its port
// to the calculator while it is open. Its pop-up menu opens the viewer on the memory (through a
// hook, since the viewer is no business of this folder), the memory map, the instruction card
// and the manual, and clears the memory. The switches live in "mmdf.ini", the contents in
// "mmexdt.dat", both written when the window closes.
#pragma once

#include <QImage>
#include <QMenu>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <vector>

#include "common/fileopen.h"
#include "common/hpdata.h"
#include "common/services.h"
#include "common/statesave.h"
#include "memexp/extmemory.h"

namespace orrindale {

class TmemFM final : public QWidget {
    Q_OBJECT

public:
    struct Context {
        std::function<void()> RequestRelease; // the window closed: let it go
        std::function<void()> ViewMemory;     // "View Extended Memory"
        // What the calculator and the other open windows cover on the screen, to open clear of.
        std::function<std::vector<QRegion>()> Taken;
    };

    TmemFM(const Services& services, Context context, QWidget* parent = nullptr);
    ~TmemFM() override;

    // Loads the panel picture "mmexig.dat" (and on screens that scale by two "mmexig@2x.dat" to
    // draw); false when the first cannot be loaded, and the window is not to be shown.
    bool LoadPicture();
    ExtMemory& Memory() { return memory_; }
    // The port for the engine: null once the window has closed.
    ExtMemoryPort* Port() { return closed_ ? nullptr : &memory_; }
    QMenu* PopupMenu() const { return popup_; }

    // Switches, as a click sets them (with the switch sound) or the saved settings (without).
    void SetLineSwitch(bool on, bool sound);
    void SetFilSwitch(bool on, bool sound);

    // The menu commands.
    void ViewExtendedMemoryClick();
    void ViewMemoryMapClick();
    void InitialiseMemoryClick();
    void ViewInstructionCardClick();
    void ManualClick();

    // Files: the switches, and the memory in its full ("mmexdt.dat") or short (*.exm) form.
    // Failures are reported in a message box.
    bool SaveMemorySettings() const;
    bool SaveMemoryFile(const QString& path, bool full);
    // The memory in place of the file's, for the viewer's expanded files; a file that cannot be
    // read, or whose any line is damaged, is reported and leaves the memory as it was.
    bool ClearMemoryAndLoad(const QString& path);
    // A memory file from outside: as ClearMemoryAndLoad, its failure told to the caller.
    OpenFailure OpenMemoryFile(const QString& path);
    // Everything the window keeps, to be written at its own close and at the calculator's
    // (statesave.h); nothing when the window was never shown, so nothing was read.
    std::vector<StateWrite> WritesAtClose() const;
    // The calculator has closed, having written what WritesAtClose gave: not again when this
    // window then closes.
    void ShutDown() { savedAtClose_ = true; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildMenu();
    void StartUp();
    void ReadMemorySettings();
    // Reads the saved contents; a damaged file is put aside, reported and leaves the memory
    // cleared.
    bool LoadMemoryFile(const QString& path);
    TextList SwitchLines() const;

    Services services_;
    Context context_;
    ExtMemory memory_;
    QImage memImage_;
    QMenu* popup_ = nullptr;
    bool firstShow_ = true;
    bool closed_ = false;
    bool savedAtClose_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace orrindale
