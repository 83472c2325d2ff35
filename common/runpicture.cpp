#include "common/runpicture.h"

#include <QPaintEngine>
#include <QTransform>
#include <algorithm>
#include <system_error>
#include <thread>

#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/images.h"

namespace orrindale {

namespace {
// The rows expanded at once for a paint: a strip of the full 2x width is 380 KB.
constexpr int kStripRows = 64;
// A paint in place of this many pixels or more is shared with a second thread.
constexpr qint64 kParallelPixels = 256 * 1024;

template <typename Each> void ForEachRun(const QRgb* row, int width, Each each) {
    int x = 0;
    while (x < width) {
        const QRgb colour = row[x];
        while (++x < width && row[x] == colour) {
        }
        each(colour, x);
    }
}
constexpr std::string_view kMagic = "RUN1";
constexpr std::string_view kRunsOfMagic = "RUNS";
constexpr std::size_t kFingerprintBytes = 8;
constexpr std::size_t kHeaderBytes = 13;
constexpr std::size_t kRunBytes = 6;

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t Little(std::string_view in, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}
// 64-bit FNV-1a: quick over the few tens of kilobytes of a PNG, and any change to them shows.
std::uint64_t Fingerprint(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ull;
    return hash;
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
    Expand(source, into.scanLine(at.y()) + at.x() * qsizetype{4}, into.bytesPerLine());
}

void RunPicture::Expand(QRect source, uchar* first, qsizetype stride) const {
    const int left = source.left(), right = source.left() + source.width();
    for (int y = source.top(); y < source.top() + source.height(); ++y, first += stride) {
        QRgb* out = reinterpret_cast<QRgb*>(first);
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
    if (isNull() || DrawInPlace(painter, area)) return;
    // The bounding rectangle, in few strips: a shaped window's region has a rectangle for each
    // row, and a strip for each would cost more than the pixels the painter's clip leaves out.
    const QRect logical = area.boundingRect();
    const QRect rect = QRect(logical.topLeft() * ratio_, logical.size() * ratio_)
                           .intersected(QRect(0, 0, width_, height_));
    QImage strip;
    for (int top = rect.top(); top < rect.top() + rect.height(); top += kStripRows) {
        const QRect part(rect.left(), top, rect.width(),
                         std::min(kStripRows, rect.top() + rect.height() - top));
        if (strip.isNull()) {
            strip = QImage(rect.width(), kStripRows, format_);
            strip.setDevicePixelRatio(ratio_);
        }
        Expand(part, strip, QPoint(0, 0));
        painter.drawImage(QPointF(part.topLeft()) / ratio_, strip,
                          QRectF(0, 0, part.width(), part.height()));
    }
}

bool RunPicture::DrawInPlace(QPainter& painter, const QRegion& area) const {
    // An opaque picture drawn at exactly its own scale onto 32-bit pixels (a window's buffer),
    // with nothing to blend and no clip but the painted region, is its runs written straight
    // into those pixels. That spares expanding every strip and copying it once more, a good
    // part of a new window's first paint at 2x.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (format_ != QImage::Format_RGB32 || !device || device->devType() != QInternal::Image)
        return false;
    const QImage& image = *static_cast<const QImage*>(device);
    const QTransform place = painter.deviceTransform();
    const QPoint offset(qRound(place.dx()), qRound(place.dy()));
    const QPainter::CompositionMode mode = painter.compositionMode();
    if ((image.format() != QImage::Format_RGB32 &&
         image.format() != QImage::Format_ARGB32_Premultiplied) ||
        place.type() > QTransform::TxScale || place.m11() != ratio_ || place.m22() != ratio_ ||
        place.dx() != offset.x() || place.dy() != offset.y() || painter.hasClipping() ||
        painter.opacity() != 1.0 ||
        (mode != QPainter::CompositionMode_SourceOver && mode != QPainter::CompositionMode_Source))
        return false;
    QRegion pixels = place.map(area) & image.rect() & QRect(offset, size());
    if (const QRegion clip = engine->systemClip(); !clip.isEmpty()) pixels &= clip;
    // The painter draws into the image's own memory; bits() could copy it instead.
    uchar* const origin = const_cast<uchar*>(image.constBits());
    const qsizetype stride = image.bytesPerLine();
    const auto expand = [this, origin, stride, offset](const QRect& rect) {
        Expand(rect.translated(-offset), origin + rect.y() * stride + rect.x() * qsizetype{4},
               stride);
    };
    // Most of a new window's first paint goes to the system handing out the buffer's fresh
    // pages. For a paint that large a second thread takes the lower half of each rectangle, so
    // that two cores share the work; where no thread can be had, this one does it all.
    const QRect bounds = pixels.boundingRect();
    const bool split = qint64{bounds.width()} * bounds.height() >= kParallelPixels;
    std::vector<QRect> upper, lower;
    for (const QRect& rect : pixels) {
        const int top = split ? rect.height() / 2 : rect.height();
        upper.emplace_back(rect.x(), rect.y(), rect.width(), top);
        if (split) lower.emplace_back(rect.x(), rect.y() + top, rect.width(), rect.height() - top);
    }
    std::thread helper;
    if (!lower.empty()) {
        try {
            helper = std::thread([&lower, &expand] { std::ranges::for_each(lower, expand); });
        } catch (const std::system_error&) {
            upper.insert(upper.end(), lower.begin(), lower.end());
        }
    }
    std::ranges::for_each(upper, expand);
    if (helper.joinable()) helper.join();
    return true;
}

std::string RunPicture::Encode() const {
    std::string out(kMagic);
    PutLittle(out, static_cast<std::uint32_t>(width_), 4);
    PutLittle(out, static_cast<std::uint32_t>(height_), 4);
    out.push_back(format_ == QImage::Format_ARGB32 ? 1 : 0);
    for (std::size_t y = 0; y + 1 < rowStart_.size(); ++y) {
        PutLittle(out, rowStart_[y + 1] - rowStart_[y], 2);
        int x = 0;
        for (std::uint32_t i = rowStart_[y]; i < rowStart_[y + 1]; ++i) {
            PutLittle(out, static_cast<std::uint32_t>(runs_[i].end - x), 2);
            PutLittle(out, runs_[i].colour, 4);
            x = runs_[i].end;
        }
    }
    return out;
}

bool RunPicture::Decode(std::string_view in, RunPicture& picture) {
    if (in.size() < kHeaderBytes || in.substr(0, 4) != kMagic) return false;
    const std::uint32_t width = Little(in, 4, 4), height = Little(in, 8, 4);
    const auto alpha = static_cast<unsigned char>(in[12]);
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        static_cast<long long>(width) * height > kMaxPicturePixels || alpha > 1)
        return false;
    RunPicture read;
    read.width_ = static_cast<int>(width);
    read.height_ = static_cast<int>(height);
    read.format_ = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QRgb opaque = alpha ? 0 : 0xFF000000u;
    // Exactly the runs a whole file holds, so that they take no more memory than they need.
    const std::size_t rowBytes = 2 * static_cast<std::size_t>(height);
    if (in.size() - kHeaderBytes < rowBytes) return false;
    const std::size_t runs = (in.size() - kHeaderBytes - rowBytes) / kRunBytes;
    if (runs > static_cast<std::size_t>(width) * height) return false;
    read.runs_.reserve(runs);
    read.rowStart_.reserve(static_cast<std::size_t>(height) + 1);
    std::size_t at = kHeaderBytes;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (in.size() - at < 2) return false;
        const std::uint32_t count = Little(in, at, 2);
        at += 2;
        if (count == 0 || count > width || (in.size() - at) / kRunBytes < count) return false;
        read.rowStart_.push_back(static_cast<std::uint32_t>(read.runs_.size()));
        std::uint32_t x = 0;
        for (std::uint32_t i = 0; i < count; ++i, at += kRunBytes) {
            const std::uint32_t length = Little(in, at, 2);
            if (length == 0 || length > width - x) return false;
            x += length;
            read.runs_.push_back({Little(in, at + 2, 4) | opaque, static_cast<int>(x)});
        }
        if (x != width) return false;
    }
    if (at != in.size()) return false;
    read.rowStart_.push_back(static_cast<std::uint32_t>(read.runs_.size()));
    picture = std::move(read);
    return true;
}

bool LoadScrambledRunPicture(const QString& path, RunPicture& picture) {
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes)) return false;
    ScrambleBytes(bytes);
    return RunPicture::Decode(bytes, picture);
}

std::string EncodeRunsOf(std::string_view png, const RunPicture& picture) {
    std::string out(kRunsOfMagic);
    const std::uint64_t fingerprint = Fingerprint(png);
    PutLittle(out, static_cast<std::uint32_t>(fingerprint), 4);
    PutLittle(out, static_cast<std::uint32_t>(fingerprint >> 32), 4);
    return out + picture.Encode();
}

bool DecodeRunsOf(std::string_view bytes, std::string_view png, RunPicture& picture) {
    const std::size_t header = kRunsOfMagic.size() + kFingerprintBytes;
    if (bytes.size() < header || bytes.substr(0, kRunsOfMagic.size()) != kRunsOfMagic) return false;
    const std::uint64_t kept = Little(bytes, 4, 4) | std::uint64_t{Little(bytes, 8, 4)} << 32;
    return kept == Fingerprint(png) && RunPicture::Decode(bytes.substr(header), picture);
}

bool LoadScrambledRunsOf(const QString& path, std::string_view png, RunPicture& picture) {
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes)) return false;
    ScrambleBytes(bytes);
    return DecodeRunsOf(bytes, png, picture);
}

} // namespace orrindale
