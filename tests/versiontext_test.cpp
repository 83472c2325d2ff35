// The version as the About box names it, and the release date the build writes.
#include "common/versiontext.h"

#include <regex>

#include <gtest/gtest.h>

#include "common/version.h"

namespace orrindale {
namespace {

TEST(AboutVersion, DropsTheDotsAndKeepsEveryDigit) {
    const struct {
        const char* Version;
        const char* Text;
    } cases[] = {
        {"0.5.0418", "v050418"}, {"1.0", "v10"}, {"12.3.40", "v12340"}, {"7", "v7"}, {"", "v"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AboutVersion(c.Version), c.Text) << c.Version;
}

TEST(ReleaseDate, IsAnIsoDate) {
    EXPECT_TRUE(std::regex_match(kReleaseDate,
                                 std::regex(R"(\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]))")))
        << kReleaseDate;
}

} // namespace
} // namespace orrindale
