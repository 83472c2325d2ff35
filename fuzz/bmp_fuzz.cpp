// The 24-bit BMP picture decoder, on the bytes as they are after unscrambling.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "panel/images.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    RgbaImage image;
    if (!DecodeBmp24(std::string_view(reinterpret_cast<const char*>(data), size), image)) {
        if (!image.Pixels.empty()) __builtin_trap();
        return 0;
    }
    if (image.Width <= 0 || image.Height <= 0 || image.Width > kMaxPictureSide ||
        image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height * 4)
        __builtin_trap();
    return 0;
}
