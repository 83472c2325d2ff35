// The text listing reader through its file: the bytes are written to a file and read back by
// the reader the viewer and keyrun use, so the guard in front of the parser is fuzzed too.
// Whatever the file holds, it is read whole when it is within the listing limit and refused
// beyond it; what is read gives 392 steps whose codes match their instructions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "common/hpdata.h"
#include "viewer/listing.h"

namespace {

// One file for the whole run, removed at its end.
char gPath[] = "/tmp/listingfile-fuzz-XXXXXX";
int gFile = -1;

void RemoveFile() {
    ::unlink(gPath);
}

// The bytes as the whole file: written in place, which a fuzz run needs quickly more than
// safely.
void WriteFile(std::string_view bytes) {
    if (gFile < 0) {
        gFile = ::mkstemp(gPath);
        if (gFile < 0) std::abort();
        std::atexit(RemoveFile);
    }
    if (::ftruncate(gFile, 0) != 0 ||
        ::pwrite(gFile, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteFile(bytes);
    std::vector<std::string> lines;
    const bool read = listing::ReadListingFile(gPath, lines);
    if (read != (size <= listing::kMaxListingBytes)) __builtin_trap();
    if (!read) return 0;
    if (lines != SplitLines(bytes)) __builtin_trap();
    const listing::ReadResult result = listing::LoadTextListing(lines);
    if (result.Codes.size() != listing::kSteps || result.Complete != result.Error.empty())
        __builtin_trap();
    for (size_t n = 0; n < listing::kSteps; ++n)
        if (listing::LookUpInstruction(result.Instructions[n]) != result.Codes[n]) __builtin_trap();
    return 0;
}
