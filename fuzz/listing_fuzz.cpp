// The text listing reader on raw file bytes. Whatever it reads is 392 key names or empty
// steps with their codes, a stop carries a message, and the listing written from what was read
// reads back to the same codes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/hpdata.h"
#include "viewer/listing.h"
#include "viewer/viewtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orrindale;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const listing::ReadResult read = listing::LoadTextListing(SplitLines(bytes));
    if (read.Instructions.size() != listing::kSteps || read.Codes.size() != listing::kSteps)
        __builtin_trap();
    if (read.Complete != read.Error.empty()) __builtin_trap();
    for (size_t n = 0; n < listing::kSteps; ++n)
        if (listing::LookUpInstruction(read.Instructions[n]) != read.Codes[n]) __builtin_trap();
    ViewTable table;
    table.Take(read);
    const listing::ReadResult again = listing::LoadTextListing(table.Lines());
    if (!again.Complete || again.Codes != read.Codes) __builtin_trap();
    return 0;
}
