// Versions are single-precision numbers compared with a tolerance and
// written back as the decimal expansion of the single value.
#include <gtest/gtest.h>

#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {
namespace {

TEST(VersionNumber, TextIsTheExpansionOfTheSingleValue) {
    // The single nearest 0.3605 is 0.36050000786781311 (its neighbours are
    // 0.36049997806549072 and 0.36050003767013550).
    EXPECT_EQ(versionText(0.3605f), "0.360500007867813");
    EXPECT_EQ(versionText(2.18f), "2.1800000667572");
    EXPECT_EQ(versionText(0.5f), "0.5");
    EXPECT_EQ(versionUpdateSql(0.35841f), "UPDATE Version SET Version=" + versionText(0.35841f));
    // Reading the text back as a single and rounding gives the version again.
    float back = std::stof(versionText(0.3605f));
    EXPECT_EQ(roundVersion(back), 0.3605f);
}

TEST(VersionNumber, RoundingToFiveDecimals) {
    EXPECT_EQ(roundVersion(0.358399987f), 0.3584f);
    EXPECT_EQ(roundVersion(0.3583649f), 0.35836f);
    EXPECT_EQ(roundVersion(0.3583651f), 0.35837f);
}

TEST(VersionNumber, ComparisonTolerance) {
    // Equal after rounding: not below, so the step does not run.
    EXPECT_FALSE(versionBelow(roundVersion(0.358359993f), 0.35836f));
    EXPECT_FALSE(versionBelow(0.3605 - 0.0000009, 0.3605));
    EXPECT_TRUE(versionBelow(0.3605 - 0.0000011, 0.3605));
    EXPECT_TRUE(versionBelow(0.35835f, 0.35836f));
}

}  // namespace
}  // namespace orvdb::upgrade
