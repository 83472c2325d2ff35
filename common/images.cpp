#include "common/images.h"

#include <cstring>
#include <png.h>

#include "common/hpdata.h"

namespace orrindale {

namespace {

bool SizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// Little-endian fields of the bitmap headers; the caller has checked the bounds.
uint32_t U32At(std::string_view b, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
uint16_t U16At(std::string_view b, std::size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                 (static_cast<unsigned char>(b[at + 1]) << 8));
}
int32_t I32At(std::string_view b, std::size_t at) {
    return static_cast<int32_t>(U32At(b, at));
}

struct BmpLayout {
    long long Width = 0;
    long long Height = 0; // always positive here
    bool TopDown = false;
    std::size_t Offset = 0;
    std::size_t Stride = 0;
};

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40; // BITMAPINFOHEADER; V4 and V5 headers extend it

// Checks every header field the decoder relies on, so that the pixel loop can index freely.
bool ReadBmpLayout(std::string_view b, BmpLayout& layout) {
    if (b.size() < kFileHeader + kInfoHeader || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t offset = U32At(b, 10);
    const uint32_t infoSize = U32At(b, 14);
    if (infoSize < kInfoHeader || infoSize > b.size() - kFileHeader) return false;
    const long long width = I32At(b, 18);
    const long long height = I32At(b, 22);
    if (U16At(b, 26) != 1 || U16At(b, 28) != 24 || U32At(b, 30) != 0) return false;
    layout.TopDown = height < 0;
    layout.Width = width;
    layout.Height = height < 0 ? -height : height;
    if (!SizeAllowed(layout.Width, layout.Height)) return false;
    layout.Stride = static_cast<std::size_t>((layout.Width * 3 + 3) / 4 * 4);
    layout.Offset = offset;
    if (layout.Offset < kFileHeader + infoSize || layout.Offset > b.size()) return false;
    // The last row may lack its padding; some writers leave it out.
    const std::size_t needed = layout.Stride * static_cast<std::size_t>(layout.Height - 1) +
                               static_cast<std::size_t>(layout.Width) * 3;
    return needed <= b.size() - layout.Offset;
}

} // namespace

bool DecodePng(std::string_view bytes, PixelOrder order, const PixelBuffer& allocate) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    // The simplified interface catches libpng's errors itself (no longjmp crosses our frames)
    // and reports them through its result.
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        png_image_free(&png);
        return false;
    }
    uint8_t* pixels = nullptr;
    if (SizeAllowed(png.width, png.height)) {
        const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
        pixels = allocate(static_cast<int>(png.width), static_cast<int>(png.height), alpha);
    }
    if (pixels == nullptr) {
        png_image_free(&png);
        return false;
    }
    png.format = order == PixelOrder::Bgra ? PNG_FORMAT_BGRA : PNG_FORMAT_RGBA;
    const bool ok = png_image_finish_read(&png, nullptr, pixels, 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

bool DecodePng(std::string_view bytes, RgbaImage& image) {
    RgbaImage decoded;
    const bool ok = DecodePng(bytes, PixelOrder::Rgba, [&decoded](int width, int height, bool) {
        decoded.Width = width;
        decoded.Height = height;
        decoded.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              4);
        return decoded.Pixels.data();
    });
    if (!ok) return false;
    image = std::move(decoded);
    return true;
}

bool DecodeBmp24(std::string_view bytes, RgbaImage& image) {
    BmpLayout layout;
    if (!ReadBmpLayout(bytes, layout)) return false;
    RgbaImage decoded;
    decoded.Width = static_cast<int>(layout.Width);
    decoded.Height = static_cast<int>(layout.Height);
    decoded.Pixels.resize(static_cast<std::size_t>(layout.Width * layout.Height) * 4);
    const auto width = static_cast<std::size_t>(layout.Width);
    const auto height = static_cast<std::size_t>(layout.Height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t fileRow = layout.TopDown ? y : height - 1 - y;
        const char* src = bytes.data() + layout.Offset + fileRow * layout.Stride;
        uint8_t* dst = decoded.Pixels.data() + y * width * 4;
        for (std::size_t x = 0; x < width; ++x, src += 3, dst += 4) {
            dst[0] = static_cast<uint8_t>(src[2]);
            dst[1] = static_cast<uint8_t>(src[1]);
            dst[2] = static_cast<uint8_t>(src[0]);
            dst[3] = 255;
        }
    }
    image = std::move(decoded);
    return true;
}

bool LoadScrambledPng(const std::string& path, RgbaImage& image) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    ScrambleBytes(bytes);
    return DecodePng(bytes, image);
}

bool LoadScrambledBitmap(const std::string& path, RgbaImage& image) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    ScrambleBytes(bytes);
    return DecodeBmp24(bytes, image);
}

} // namespace orrindale
