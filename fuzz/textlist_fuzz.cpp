// The scrambled text list reader on raw file bytes. A list that loads must save and load back
// to the same lines. The line limit is the paper roll's, so that short inputs already reach
// it: a body of more lines must be refused like any other damaged file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/hpdata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    constexpr std::size_t kMaxLines = 400;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextList list{"unchanged"};
    if (!ParseScrambledTextList(bytes, list, kMaxLines)) {
        if (list != TextList{"unchanged"}) __builtin_trap();
        return 0;
    }
    if (list.size() > kMaxLines) __builtin_trap();
    TextList again;
    if (!ParseScrambledTextList(FormatScrambledTextList(list), again, kMaxLines) || again != list)
        __builtin_trap();
    return 0;
}
