// The scrambled picture files: a PNG or a Windows BMP file with every byte XORed with 0xB7.
//
// Pictures decode into a plain RGBA image so that the readers need no toolkit; the Qt adapters
// (hpdata_qt.h) turn it into a QImage. The decoders treat their input as hostile: damaged,
// truncated or absurdly large pictures fail cleanly and leave the output image untouched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orrindale {

// Four bytes per pixel (red, green, blue, alpha), rows top to bottom, no padding.
struct RgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;

    bool operator==(const RgbaImage&) const = default;
};

// Pictures wider or taller than this, or with more pixels in all, are refused before any
// pixel memory is taken. The largest picture of the system is about a thousand pixels wide.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr long long kMaxPicturePixels = 32LL << 20;

// Decoders of unscrambled bytes.
bool DecodePng(std::string_view bytes, RgbaImage& image);
// The byte order of a decoded pixel. Blue-green-red-alpha is a 32-bit ARGB word on a
// little-endian machine (what a toolkit's native image holds).
enum class PixelOrder { Rgba, Bgra };
// Decodes into memory the caller provides, without a copy: `allocate(width, height, alpha)` is
// called once the size is known and allowed (`alpha`: the picture has transparency) and returns
// width * height * 4 bytes, rows without padding, or null to give up.
using PixelBuffer = std::function<uint8_t*(int width, int height, bool alpha)>;
bool DecodePng(std::string_view bytes, PixelOrder order, const PixelBuffer& allocate);
// A 24-bit uncompressed Windows bitmap (bottom-up or top-down rows); anything else fails.
bool DecodeBmp24(std::string_view bytes, RgbaImage& image);

bool LoadScrambledPng(const std::string& path, RgbaImage& image);
bool LoadScrambledBitmap(const std::string& path, RgbaImage& image);

} // namespace orrindale
