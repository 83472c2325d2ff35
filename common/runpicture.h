// A picture kept as runs of one colour along each row. The panel picture is drawn in flat
// colours: its 1.5 million pixels at 2x make some 60,000 runs, which take a tenth of the 6 MB
// the plain picture would hold for the whole session. A paint expands only the rows it needs:
// straight into the painter's pixels where that gives the same result (a window's buffer at the
// picture's own scale), else a strip at a time for the painter to draw.
//
// The 2x panel picture is stored in this form too (scrambled like every picture file), since
// reading it takes no decompression; it is about three times the size of its PNG. Little-endian:
// "RUN1", width and height (32 bits each), 1 when the colours carry transparency else 0, then
// each row as its number of runs (16 bits) and each run as its length (16 bits) and colour (an
// ARGB word). The runs of a row cover it exactly.
//
// A picture kept as a PNG may have its runs kept beside it as well ("PM91B@1x.dat" beside
// "PM91B.dat"), which read in a fraction of the time the PNG takes to decompress: "RUNS", the
// fingerprint of the PNG file's bytes as stored (64-bit FNV-1a, little-endian), then the picture
// as above. Once the PNG file has been changed the fingerprint no longer matches, and the runs
// are refused in favour of the PNG itself.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orrindale {

class RunPicture {
public:
    struct Run {
        QRgb colour;
        int end; // the pixel after the run
    };

    RunPicture() = default;
    // The picture's pixels, its transparency and its device pixel ratio.
    explicit RunPicture(const QImage& image);

    bool isNull() const { return width_ == 0; }
    // In the picture's own pixels.
    QSize size() const { return {width_, height_}; }
    int devicePixelRatio() const { return ratio_; }
    void setDevicePixelRatio(int ratio) { ratio_ = ratio > 1 ? ratio : 1; }
    QSize deviceIndependentSize() const { return size() / ratio_; }
    // The runs of row y (within the picture), left to right.
    std::span<const Run> Row(int y) const {
        const auto row = static_cast<std::size_t>(y);
        return {runs_.data() + rowStart_[row], runs_.data() + rowStart_[row + 1]};
    }

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
    // Fills `into` at `at` with the pixels of `source` (in the picture's pixels, within it).
    void Expand(QRect source, QImage& into, QPoint at) const;
    // The same into rows of 32-bit pixels, the first at `first`, `stride` bytes apart.
    void Expand(QRect source, uchar* first, qsizetype stride) const;
    // Draw's shortcut; false when it does not apply.
    bool DrawInPlace(QPainter& painter, const QRegion& area) const;

    int width_ = 0, height_ = 0, ratio_ = 1;
    QImage::Format format_ = QImage::Format_RGB32;
    std::vector<Run> runs_;
    std::vector<std::uint32_t> rowStart_; // the first run of each row, and the end of the last
};

// A scrambled picture file of runs; device pixel ratio 1.
bool LoadScrambledRunPicture(const QString& path, RunPicture& picture);

// The runs kept beside the PNG file whose bytes are `png`, in file form (unscrambled); and read
// back, refused when damaged or made from other bytes than `png`.
std::string EncodeRunsOf(std::string_view png, const RunPicture& picture);
bool DecodeRunsOf(std::string_view bytes, std::string_view png, RunPicture& picture);
// A scrambled file of such runs.
bool LoadScrambledRunsOf(const QString& path, std::string_view png, RunPicture& picture);

} // namespace orrindale
