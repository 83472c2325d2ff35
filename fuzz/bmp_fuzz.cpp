// The 24-bit BMP picture decoder, on the bytes as they are after unscrambling.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/images.h"
#include "fuzz/decoder_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return orrindale::CheckDecoder(orrindale::DecodeBmp24, data, size);
}
