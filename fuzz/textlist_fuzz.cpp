// The scrambled text list reader on raw file bytes. A list that loads must save and load back
// to the same lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "panel/shared/hpdata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextList list{"unchanged"};
    if (!ParseScrambledTextList(bytes, list)) {
        if (list != TextList{"unchanged"}) __builtin_trap();
        return 0;
    }
    TextList again;
    if (!ParseScrambledTextList(FormatScrambledTextList(list), again) || again != list)
        __builtin_trap();
    return 0;
}
