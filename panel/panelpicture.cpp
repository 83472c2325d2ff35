#include "panel/panelpicture.h"

#include <pthread.h>
#include <sched.h>
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

PanelPicture ReadPanelPicture(const QString& path) {
    PanelPicture panel;
    if (LoadScrambledPng(path, panel.Picture)) panel.Outline = PanelMask(panel.Picture);
    return panel;
}

std::future<PanelPicture> PreloadPanelPicture(const QString& path) {
    return std::async(std::launch::async, [path] {
        // Only while a core would otherwise idle: the toolkit's start-up and the display server
        // need both cores of a small machine, and the picture is not wanted before they are done
        // (a main thread that waits for it leaves a core free).
        sched_param unused{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &unused);
        return ReadPanelPicture(path);
    });
}

} // namespace orrindale
