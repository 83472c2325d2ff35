// A memory file, given as the plain text of its list. Whatever it holds, reading it gives a
// memory the engine can use (words of six bits, a protect line within the memory, programs
// starting inside it, return addresses inside the register file) or, damaged, leaves the
// memory as it was; a loaded memory survives a save and a load unchanged, and calling and
// returning from every stored program stays within bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/calculator.h"
#include "engine/null_host.h"
#include "memexp/memoryfile.h"

namespace {

using namespace orrindale;

bool Usable(const MemoryImage& image) {
    for (const TCalcRegister& r : image.memWords)
        for (int w = 0; w < kWords; ++w)
            if (r[w] < 0 || r[w] > kWordMask) return false;
    if (image.protectLine < 0 || image.protectLine > kMemRegisters) return false;
    for (const MemoryImage::Program& p : image.progDirectory)
        if (p.Start < 0 || p.Start >= kMemRegisters) return false;
    for (const MemoryImage::Call& c : image.callStack)
        if (c.Row < 0 || c.Row > 63 || c.Step < 0 || c.Step >= kWords) return false;
    return image.callTop >= 0 && image.callTop < kCallDepth && image.currentProgram >= 0 &&
           image.currentProgram <= kMaxProgramNumber;
}

TCalcRegister Number(int n) {
    TCalcRegister r;
    ClearReg(r, true);
    r[kLeadWord] = n / 10;
    r[kLeadWord - 1] = n % 10;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TextList lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    MemoryImage image;
    image.memWords[4][2] = 9;
    const MemoryImage before = image;
    if (ReadMemoryLines(lines, image) == MemoryLoad::Damaged) {
        if (!(image == before)) __builtin_trap(); // a damaged list changes nothing
        return 0;
    }
    if (!Usable(image)) __builtin_trap();
    MemoryImage back;
    if (ReadMemoryLines(MemoryFileLines(image, true), back) != MemoryLoad::Loaded ||
        !(back == image))
        __builtin_trap();
    NullEngineHost host;
    Calculator calc(host);
    ExtMemory memory;
    memory.Image() = image;
    memory.SetLine(true);
    for (size_t i = 0; i < image.progDirectory.size() && i < 20; ++i) {
        TCalcRegister x = Number(image.progDirectory[i].Number % 100);
        memory.GoTo(x, calc.LentProgram());
        memory.End(x, calc.LentProgram());
    }
    TCalcRegister x = Number(size % 100);
    memory.FmtFmt(x, calc.LentProgram());
    return 0;
}
