// A picture kept as runs of one colour along each row. The panel picture is drawn in flat
// colours: its 1.5 million pixels at 2x make some 60,000 runs, which take a tenth of the 6 MB
// the plain picture would hold for the whole session. A paint expands only the rows it needs,
// a strip at a time.
//
// The 2x panel picture is stored in this form too (scrambled like every picture file), since
// reading it takes no decompression; it is about three times the size of its PNG. Little-endian:
// "RUN1", width and height (32 bits each), 1 when the colours carry transparency else 0, then
// each row as its number of runs (16 bits) and each run as its length (16 bits) and colour (an
// ARGB word). The runs of a row cover it exactly.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
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
    void setDevicePixelRatio(int ratio) { ratio_ = ratio > 1 ? ratio : 1; }
    QSize deviceIndependentSize() const { return size() / ratio_; }

    // The part at `place` (in logical pixels) at the picture's resolution, as QImage::copy
    // gives it: what lies outside the picture is zero.
    QImage Part(QRect place) const;
    // Draws the picture at the top left corner within `area` (in logical pixels), or a little more
    // where the painter does not clip.
    void Draw(QPainter& painter, const QRegion& area) const;

    // The file form, unscrambled.
    std::string Encode() const;
    // A damaged, truncated or oversized picture fails and leaves `picture` as it was.
    static bool Decode(std::string_view bytes, RunPicture& picture);

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

// A scrambled picture file of runs; device pixel ratio 1.
bool LoadScrambledRunPicture(const QString& path, RunPicture& picture);

} // namespace orrindale
