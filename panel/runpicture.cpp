#include "panel/runpicture.h"

#include <algorithm>

namespace orrindale {

namespace {
// The rows expanded at once for a paint: a strip of the full 2x width is 380 KB.
constexpr int kStripRows = 64;

template <typename Each> void ForEachRun(const QRgb* row, int width, Each each) {
    int x = 0;
    while (x < width) {
        const QRgb colour = row[x];
        while (++x < width && row[x] == colour) {
        }
        each(colour, x);
    }
}
} // namespace

RunPicture::RunPicture(const QImage& image) {
    if (image.isNull()) return;
    format_ = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QImage pixels = image.convertToFormat(format_);
    width_ = pixels.width();
    height_ = pixels.height();
    ratio_ = std::max(1, qRound(image.devicePixelRatio()));
    // Counted first, so the runs take exactly the memory they need.
    std::size_t count = 0;
    for (int y = 0; y < height_; ++y)
        ForEachRun(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), width_,
                   [&count](QRgb, int) { ++count; });
    runs_.reserve(count);
    rowStart_.reserve(static_cast<std::size_t>(height_) + 1);
    for (int y = 0; y < height_; ++y) {
        rowStart_.push_back(static_cast<std::uint32_t>(runs_.size()));
        ForEachRun(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), width_,
                   [this](QRgb colour, int end) {
                       runs_.push_back({colour, end});
                   });
    }
    rowStart_.push_back(static_cast<std::uint32_t>(runs_.size()));
}

void RunPicture::Expand(QRect source, QImage& into, QPoint at) const {
    const int left = source.left(), right = source.left() + source.width();
    for (int y = source.top(); y < source.top() + source.height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(into.scanLine(at.y() + y - source.top())) + at.x();
        auto run = runs_.begin() + rowStart_[static_cast<std::size_t>(y)];
        while (run->end <= left)
            ++run;
        for (int x = left; x < right; ++run) {
            const int end = std::min(run->end, right);
            std::fill(out + (x - left), out + (end - left), run->colour);
            x = end;
        }
    }
}

QImage RunPicture::Part(QRect place) const {
    const QRect wanted(place.topLeft() * ratio_, place.size() * ratio_);
    QImage part(wanted.size(), format_);
    if (part.isNull()) return part;
    part.fill(0);
    const QRect inside = wanted.intersected(QRect(0, 0, width_, height_));
    if (!inside.isEmpty()) Expand(inside, part, inside.topLeft() - wanted.topLeft());
    part.setDevicePixelRatio(ratio_);
    return part;
}

void RunPicture::Draw(QPainter& painter, const QRegion& area) const {
    if (isNull()) return;
    const QRect bounds(0, 0, width_, height_);
    QImage strip;
    for (const QRect& logical : area) {
        const QRect rect =
            QRect(logical.topLeft() * ratio_, logical.size() * ratio_).intersected(bounds);
        for (int top = rect.top(); top < rect.top() + rect.height(); top += kStripRows) {
            const QRect part(rect.left(), top, rect.width(),
                             std::min(kStripRows, rect.top() + rect.height() - top));
            if (strip.width() < part.width() || strip.height() < part.height())
                strip = QImage(std::max(strip.width(), part.width()), kStripRows, format_);
            Expand(part, strip, QPoint(0, 0));
            strip.setDevicePixelRatio(ratio_);
            painter.drawImage(QPointF(part.topLeft()) / ratio_, strip,
                              QRectF(0, 0, part.width(), part.height()));
        }
    }
}

} // namespace orrindale
