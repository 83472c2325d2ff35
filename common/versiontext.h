// How the program names its version to the user.
#pragma once

#include <string>
#include <string_view>

namespace orrindale {

// The About box's short form of a dotted version: "v" and the parts' digits, the dots left out
// ("0.5.0418" gives "v050418").
std::string AboutVersion(std::string_view version);

} // namespace orrindale
