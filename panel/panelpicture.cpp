#include "panel/panelpicture.h"

#include <algorithm>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <utility>
#include <vector>

#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/programfiles.h"
#include "panel/layout.h"

namespace orrindale {

QRegion PanelMask(const RunPicture& panel) {
    // Exactly that colour is outside. A row whose rectangles match the row above lengthens that
    // row's instead of adding its own: most rows of the case are alike, and a region of few
    // rectangles shapes the window on the display more cheaply. The bands come top to bottom
    // and left to right, the order a region keeps its rectangles in, so they are handed over at
    // once rather than merged one by one.
    const QRgb sky = qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);
    std::vector<QRect> rects, row;
    std::size_t band = 0; // the first rectangle of the row above
    for (int y = 0; y < panel.size().height(); ++y) {
        row.clear();
        int x = 0;
        for (const RunPicture::Run& run : panel.Row(y)) {
            if ((run.colour | 0xFF000000u) != sky) {
                if (!row.empty() && row.back().left() + row.back().width() == x)
                    row.back().setRight(run.end - 1);
                else
                    row.emplace_back(x, y, run.end - x, 1);
            }
            x = run.end;
        }
        const auto above = rects.begin() + static_cast<std::ptrdiff_t>(band);
        const bool same = !row.empty() && rects.end() - above == std::ssize(row) &&
                          rects.back().bottom() == y - 1 &&
                          std::equal(row.begin(), row.end(), above, [](QRect a, QRect b) {
                              return a.left() == b.left() && a.width() == b.width();
                          });
        if (same) {
            std::for_each(above, rects.end(), [y](QRect& r) { r.setBottom(y); });
        } else if (!row.empty()) {
            band = rects.size();
            rects.insert(rects.end(), row.begin(), row.end());
        }
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

PanelFiles PanelFilesIn(const QString& folder) {
    return {folder + files::kPanelPicture, folder + files::kPanelRuns,
            folder + files::kPanelPicture2x};
}

namespace {

// The 1x picture as runs, and its outline, made before the scale is known: on a small machine
// the start-up thread gets a core mostly while the toolkit waits for the display server, early.
struct OnceRead {
    RunPicture Runs;
    QRegion Outline;
};

OnceRead ReadOnce(const PanelFiles& files) {
    OnceRead once;
    std::string png;
    if (!ReadWholeFile(NativePath(files.Picture), png)) return once;
    if (files.Runs.isEmpty() || !LoadScrambledRunsOf(files.Runs, png, once.Runs)) {
        ScrambleBytes(png);
        QImage picture;
        if (!DecodePng(png, picture)) return once;
        once.Runs = RunPicture(picture);
    }
    once.Outline = PanelMask(once.Runs);
    return once;
}

// At scale 2 the 2x picture where there is one twice the size of the 1x one, else the 1x one.
PanelPicture Finish(OnceRead once, const QString& sharpPath, int scale) {
    PanelPicture panel;
    if (once.Runs.isNull()) return panel;
    panel.Outline = std::move(once.Outline);
    RunPicture sharp;
    if (scale == 2 && !sharpPath.isEmpty() && LoadScrambledRunPicture(sharpPath, sharp) &&
        sharp.size() == 2 * once.Runs.size()) {
        sharp.setDevicePixelRatio(2);
        panel.Picture = std::move(sharp);
    } else {
        panel.Picture = std::move(once.Runs);
    }
    return panel;
}

} // namespace

PanelPicture ReadPanelPicture(const PanelFiles& files, int scale) {
    return Finish(ReadOnce(files), files.Sharp, scale);
}

PanelPreload::PanelPreload(PanelFiles files)
    : files_(std::move(files)), taken_(result_.get_future()), thread_([this] { Run(); }) {}

PanelPreload::~PanelPreload() {
    SetScale(1);
    Hurry();
    if (thread_.joinable()) thread_.join();
}

void PanelPreload::SetScale(int scale) {
    std::call_once(scaleSet_, [this, scale] { scale_.set_value(scale); });
}

PanelPicture PanelPreload::Take(int scale) {
    SetScale(scale);
    Hurry();
    PanelPicture panel = taken_.get();
    thread_.join();
    return panel;
}

void PanelPreload::Hurry() {
    // Waited for: idle priority would leave it behind every other program of a busy machine.
    if (!thread_.joinable()) return;
    sched_param normal{};
    pthread_setschedparam(thread_.native_handle(), SCHED_OTHER, &normal);
}

void PanelPreload::Run() {
    // Only while a core would otherwise idle: the toolkit's start-up and the display server
    // need both cores of a small machine, and the picture is not wanted before they are done.
    sched_param unused{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &unused);
    OnceRead once = ReadOnce(files_);
    result_.set_value(Finish(std::move(once), files_.Sharp, scale_.get_future().get()));
}

} // namespace orrindale
