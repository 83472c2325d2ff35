// A picture kept as runs of one colour along each row. The panel picture is drawn in flat
// colours: its 1.5 million pixels at 2x make some 60,000 runs, which take a tenth of the 6 MB
// the plain picture would hold for the whole session. A paint expands only the rows it needs,
// a strip at a time.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <vector>

namespace orrindale {

class RunPicture {
public:
    RunPicture() = default;
    // The picture's pixels, its transparency and its device pixel ratio.
    explicit RunPicture(const QImage& image);

    bool isNull() const { return width_ == 0; }
    // In the picture's own pixels.
    QSize size() const { return {width_, height_}; }
    int devicePixelRatio() const { return ratio_; }
    QSize deviceIndependentSize() const { return size() / ratio_; }

    // The part at `place` (in logical pixels) at the picture's resolution, as QImage::copy
    // gives it: what lies outside the picture is zero.
    QImage Part(QRect place) const;
    // Draws the picture at the top left corner, only within `area` (in logical pixels).
    void Draw(QPainter& painter, const QRegion& area) const;

private:
    struct Run {
        QRgb colour;
        int end; // the pixel after the run
    };
    // Fills `into` at `at` with the pixels of `source` (in the picture's pixels, within it).
    void Expand(QRect source, QImage& into, QPoint at) const;

    int width_ = 0, height_ = 0, ratio_ = 1;
    QImage::Format format_ = QImage::Format_RGB32;
    std::vector<Run> runs_;
    std::vector<std::uint32_t> rowStart_; // the first run of each row, and the end of the last
};

} // namespace orrindale
