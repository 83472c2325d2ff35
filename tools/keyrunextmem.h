// keyrun's extended memory tokens: an HP 9101A attached to the calculator as its window would
// attach it, driven by the same memory model and file routines.
//
//   extmem              attaches the memory: LINE on, FIL off, memory cleared
//   extmem-load=PATH    reads a memory file (*.exm or "mmexdt.dat"), attaching the memory first
//   extmem-save=PATH    writes the memory as a memory file in its full form
#pragma once

#include <memory>
#include <string>

#include "memexp/extmemory.h"

namespace orrindale {

class KeyrunExtMem {
public:
    enum class Result { NotExtMem, Done, Failed };

    // token as typed (a path keeps its case); Error() tells why a token failed.
    Result Apply(const std::string& token);
    const std::string& Error() const { return error_; }
    // The memory for the engine once attached, else null.
    ExtMemoryPort* Port() { return memory_.get(); }

private:
    void Attach();

    std::unique_ptr<ExtMemory> memory_;
    std::string error_;
};

} // namespace orrindale
