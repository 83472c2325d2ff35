// The memory file: "mmexdt.dat" beside the program (the full form, with the call state) and the
// viewer's expanded files (the short form, words and directory only). A scrambled text list of
// keyed lines: 000 the protect line, 001 one register's 14 words each, 002 one directory entry
// each, and in the full form 003 the call stack's top, 004 one call entry each, 005 the current
// program. Fields are "~"-terminated decimal integers.
#pragma once

#include <string>

#include "common/hpdata.h"
#include "memexp/extmemory.h"

namespace orrindale {

enum class MemoryLoad {
    Unreadable, // no file, or not a scrambled list: nothing was changed
    Damaged,    // a line broke a rule: nothing was changed
    Loaded,
};

TextList MemoryFileLines(const MemoryImage& image, bool full);
// Lines in any order; unknown keys are skipped. Replaces the image only when every line is
// good; a damaged list leaves it as it was.
MemoryLoad ReadMemoryLines(const TextList& lines, MemoryImage& image);
// The most a memory file can hold: 248 registers, 100 programs and 14 calls of short lines,
// with ample room for lines a later version may add.
inline constexpr TextListLimits kMemoryFileLimits{1u << 20, 4096};
MemoryLoad LoadMemoryFile(const std::string& path, MemoryImage& image);
// Replaces the file atomically; false when it could not be written.
bool SaveMemoryFile(const std::string& path, const MemoryImage& image, bool full);

} // namespace orrindale
