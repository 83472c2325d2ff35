// The PNG picture decoder, on the bytes as they are after unscrambling.
//
// libpng itself is the system's uninstrumented library, so the fuzzer gets no coverage from
// inside it. The mutator therefore repairs every chunk checksum after mutating: otherwise
// nearly every mutant would stop at the first checksum test and the chunk readers behind it
// would never see damaged data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/images.h"
#include "fuzz/decoder_check.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

uint32_t Crc32(const uint8_t* p, size_t n) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
        c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Chunks follow the 8-byte signature: length, type, data, checksum over type and data.
void RepairChecksums(uint8_t* data, size_t size) {
    size_t at = 8;
    while (at + 12 <= size) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12) return;
        const uint32_t crc = Crc32(data + at + 4, 4 + length);
        uint8_t* out = data + at + 8 + length;
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int /*seed*/) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    RepairChecksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The decoder into a plain image; it decodes through the one into caller's memory.
    using Decoder = bool (*)(std::string_view, orrindale::RgbaImage&);
    return orrindale::CheckDecoder(static_cast<Decoder>(orrindale::DecodePng), data, size);
}
