#include "keyrunextmem.h"

#include <cctype>

#include "memexp/memoryfile.h"

namespace orrindale {

namespace {
bool StartsWith(const std::string& token, const std::string& prefix) {
    if (token.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(token[i])) != prefix[i]) return false;
    return true;
}
} // namespace

void KeyrunExtMem::Attach() {
    if (memory_) return;
    memory_ = std::make_unique<ExtMemory>();
    memory_->SetLine(true);
}

KeyrunExtMem::Result KeyrunExtMem::Apply(const std::string& token) {
    if (StartsWith(token, "extmem-load=")) {
        Attach();
        const std::string path = token.substr(12);
        const MemoryLoad read = LoadMemoryFile(path, memory_->Image());
        if (read == MemoryLoad::Loaded) return Result::Done;
        error_ = read == MemoryLoad::Damaged ? "ERROR: Failed to load memory file"
                                             : "cannot read " + path;
        return Result::Failed;
    }
    if (StartsWith(token, "extmem-save=")) {
        if (!memory_) {
            error_ = "no extended memory attached";
            return Result::Failed;
        }
        if (SaveMemoryFile(token.substr(12), memory_->Image(), true)) return Result::Done;
        error_ = "ERROR: Failed to save memory file";
        return Result::Failed;
    }
    if (token.size() != 6 || !StartsWith(token, "extmem")) return Result::NotExtMem;
    Attach();
    return Result::Done;
}

} // namespace orrindale
