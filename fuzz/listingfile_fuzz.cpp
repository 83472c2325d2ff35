// The text listing reader through its file: the bytes are written to a file and read back by
// the reader the viewer and keyrun use, so the guard in front of the parser is fuzzed too.
// Whatever the file holds, it is read whole when it is within the listing limit and refused
// beyond it; what is read gives 392 steps whose codes match their instructions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "panel/shared/atomicfile.h"
#include "panel/shared/hpdata.h"
#include "viewer/listing.h"

namespace {

const std::string& FilePath() {
    static const std::string path = [] {
        std::string pattern = "/tmp/listingfile-fuzz-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) std::abort();
        ::close(fd);
        return pattern;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!WriteFileAtomically(FilePath(), bytes)) std::abort();
    std::vector<std::string> lines;
    const bool read = listing::ReadListingFile(FilePath(), lines);
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
