// The panel picture ("PM91B.dat", on screens that scale by two "PM91B@2x.dat" to draw) and the
// window's outline taken from the 1x picture. The 1x picture is read from its runs
// ("PM91B@1x.dat") while they match it, else decoded from the PNG itself. Reading them is the
// largest piece of work before the calculator can show, so the program starts it on a second
// thread as its very first step, at idle priority, while the toolkit connects to the display;
// the main window takes the result when it starts up (or reads the pictures itself when nothing
// was started, as in most tests).
#pragma once

#include <QRegion>
#include <QString>
#include <future>
#include <mutex>
#include <thread>

#include "common/runpicture.h"

namespace orrindale {

struct PanelPicture {
    // The picture to draw: the 1x picture, or the 2x one (device pixel ratio 2) in its place.
    // Null when the file is missing or damaged.
    RunPicture Picture;
    QRegion Outline;
};

// The window's shape: every pixel of the panel picture that is not sky blue.
QRegion PanelMask(const RunPicture& panel);

// Where the three panel files are; an empty name is a file that is not there.
struct PanelFiles {
    QString Picture; // the 1x PNG, which must be there
    QString Runs;    // its runs
    QString Sharp;   // the 2x picture
};
PanelFiles PanelFilesIn(const QString& folder);

// The picture for that scale and its outline: at 2 the 2x picture takes the place of the 1x one
// when there is a fitting one. The 1x picture is never held as plain pixels, only as runs.
// Touches nothing but its own objects, so it may run on any thread.
PanelPicture ReadPanelPicture(const PanelFiles& files, int scale);

// ReadPanelPicture started on a thread of its own, which runs only on an otherwise idle core.
// The 1x picture and the outline come first; the scale, known once the toolkit has found the
// screen, decides whether the 2x picture follows.
class PanelPreload {
public:
    explicit PanelPreload(PanelFiles files);
    ~PanelPreload();
    PanelPreload(const PanelPreload&) = delete;
    PanelPreload& operator=(const PanelPreload&) = delete;

    // The first scale given (here or to Take) is the one read.
    void SetScale(int scale);
    // Waits for the pictures. The thread is wanted now: it gets a full share of the machine.
    PanelPicture Take(int scale);

private:
    void Run();
    void Hurry();

    PanelFiles files_;
    std::once_flag scaleSet_;
    std::promise<int> scale_;
    std::promise<PanelPicture> result_;
    std::future<PanelPicture> taken_;
    std::thread thread_;
};

} // namespace orrindale
