// Replacing a file so that it is never seen half-written.
//
// The bytes go to a temporary file in the same folder, which is flushed to the disk and then
// renamed over the target in one step. A crash, a full disk or a missing permission at any
// point leaves either the old file or the new one, never a mixture; on failure the temporary
// file is removed and the old file is untouched.
#pragma once

#include <string>
#include <string_view>

namespace orrindale {

bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace orrindale
