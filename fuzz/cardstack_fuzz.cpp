// A marked card stack file, given as the plain text of its list. Whatever it holds, reading it
// gives a stack whose every line the reader can feed (29 fields of 0-127, or empty), or an
// empty stack; a stack that loaded survives a write and a read unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cards/marked/cardstack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const TextList lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    TCardStack stack;
    CardLines list;
    if (!stack.ReadStackLines(lines, list)) {
        if (stack.UsedCount() != 0 || !stack.Titles.Name.empty()) __builtin_trap();
        for (const std::string& line : list)
            if (!line.empty()) __builtin_trap();
        return 0;
    }
    for (const std::string& line : list)
        if (!ValidCardLine(line)) __builtin_trap();
    // Titles with line breaks cannot be kept in a list of lines.
    for (const std::string* t : {&stack.Titles.Name, &stack.Titles.Title, &stack.Titles.Day,
                                 &stack.Titles.Month, &stack.Titles.Year})
        if (t->find_first_of("\r\n") != std::string::npos) return 0;
    TCardStack back;
    CardLines backList;
    if (!back.ReadStackLines(stack.StackFileLines(list), backList) || backList != list ||
        back.Used != stack.Used || back.Row29 != stack.Row29)
        __builtin_trap();
    return 0;
}
