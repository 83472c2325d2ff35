#include "panel/panelpicture.h"

#include <pthread.h>
#include <sched.h>
#include <utility>
#include <vector>

#include "common/hpdata_qt.h"
#include "panel/layout.h"

namespace orrindale {

QRegion PanelMask(const QImage& panel) {
    // Built from the runs of each row, which keeps the rule plain: exactly that colour is
    // outside. The runs come top to bottom and left to right, the order a region keeps its
    // rectangles in, so they are handed over at once rather than merged one by one.
    const QRgb sky = qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);
    const QImage rgb = panel.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    std::vector<QRect> runs;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == sky)
                ++x;
            const int start = x;
            while (x < width && row[x] != sky)
                ++x;
            if (x > start) runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

namespace {

// The 1x picture, its outline and its runs, made before the scale is known: on a small machine
// the start-up thread gets a core mostly while the toolkit waits for the display server, early.
struct OnceRead {
    QImage Picture;
    QRegion Outline;
    RunPicture Runs;
};

OnceRead ReadOnce(const QString& path) {
    OnceRead once;
    if (!LoadScrambledPng(path, once.Picture)) return once;
    once.Outline = PanelMask(once.Picture);
    once.Runs = RunPicture(once.Picture);
    return once;
}

// At scale 2 the 2x picture where there is one twice the size of the 1x one, else the 1x one.
PanelPicture Finish(OnceRead once, const QString& sharpPath, int scale) {
    PanelPicture panel;
    if (once.Picture.isNull()) return panel;
    panel.Outline = std::move(once.Outline);
    // The plain 1x picture has served for the outline and the runs: let go of it before the 2x
    // runs are read, so that the two are never held at once.
    const QSize onceSize = once.Picture.size();
    once.Picture = QImage();
    RunPicture sharp;
    if (scale == 2 && LoadScrambledRunPicture(sharpPath, sharp) && sharp.size() == 2 * onceSize) {
        sharp.setDevicePixelRatio(2);
        panel.Picture = std::move(sharp);
    } else {
        panel.Picture = std::move(once.Runs);
    }
    return panel;
}

} // namespace

PanelPicture ReadPanelPicture(const QString& path) {
    return Finish(ReadOnce(path), QString(), 1);
}

PanelPicture ReadPanelPicture(const QString& path, const QString& sharpPath, int scale) {
    return Finish(ReadOnce(path), sharpPath, scale);
}

PanelPreload::PanelPreload(QString path, QString sharpPath)
    : path_(std::move(path)), sharpPath_(std::move(sharpPath)), taken_(result_.get_future()),
      thread_([this] { Run(); }) {}

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
    OnceRead once = ReadOnce(path_);
    result_.set_value(Finish(std::move(once), sharpPath_, scale_.get_future().get()));
}

} // namespace orrindale
