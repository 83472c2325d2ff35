#include "common/versiontext.h"

namespace orrindale {

std::string AboutVersion(std::string_view version) {
    std::string text = "v";
    for (const char c : version)
        if (c != '.') text += c;
    return text;
}

} // namespace orrindale
