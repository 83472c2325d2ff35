// What every picture decoder must hold to, whatever bytes it is given: a refusal leaves no
// pixels, and a picture it accepts is within bounds with exactly its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/images.h"

namespace orrindale {

template <typename Decoder> int CheckDecoder(Decoder decode, const uint8_t* data, size_t size) {
    RgbaImage image;
    if (!decode(std::string_view(reinterpret_cast<const char*>(data), size), image)) {
        if (!image.Pixels.empty()) __builtin_trap();
        return 0;
    }
    if (image.Width <= 0 || image.Height <= 0 || image.Width > kMaxPictureSide ||
        image.Pixels.size() != static_cast<size_t>(image.Width) * image.Height * 4)
        __builtin_trap();
    return 0;
}

} // namespace orrindale
