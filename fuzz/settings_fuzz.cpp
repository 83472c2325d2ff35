// The panel settings lines, given as the plain text of the file's body. Whatever is read must
// be a setting the panel can show, and must survive a save and a load.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "panel/settings.h"

namespace {
// Decided by the name alone, so the fuzzer does not touch the file system.
bool FakeExists(const std::string& path) {
    return path.size() % 2 == 1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const TextList lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    PanelSettings s;
    ApplySettingsLines(lines, s, FakeExists);
    if (s.RunSpeed < 0 || s.DecimalWheel < 0 || s.DecimalWheel > 9 ||
        CountChar('~', s.FKeyList) != 12 ||
        (!s.CardFileName.empty() && !FakeExists(s.CardFileName)))
        __builtin_trap();
    PanelSettings again;
    ApplySettingsLines(SettingsLines(s), again, FakeExists);
    if (!(again == s)) __builtin_trap();
    return 0;
}
