// Names compare the same way in every layer: Unicode simple case folding,
// accents kept, and foldName giving equal keys exactly for same names.
#include <gtest/gtest.h>

#include <string>

#include "base/names.hpp"

namespace orvdb::base {
namespace {

struct NamePair {
    const char* a;
    const char* b;
    bool same;
};

const NamePair kPairs[] = {
    {"Orders", "ORDERS", true},
    {"zone", "Zone", true},
    {"Order", "Orders", false},
    {"", "", true},
    {"", "a", false},
    {"\xC3\x89t\xC3\xA9", "\xC3\x89T\xC3\x89", true},  // Été / ÉTÉ
    {"Fran\xC3\xA7"
     "ais",
     "FRAN\xC3\x87"
     "AIS",
     true},                                  // Français / FRANÇAIS
    {"Gen\xC3\xA8ve", "Geneve", false},      // accents count
    {"\xCE\xA9mega", "\xCF\x89MEGA", true},  // Ωmega / ωMEGA
    {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",
     "\xD0\xBC\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90", true},  // Москва / мОСКВА
    {"\xE2\x84\xAA"
     "elvin",
     "kelvin", true},  // KELVIN SIGN folds to k
    {"Stra\xC3\x9F"
     "e",
     "STRASSE", false},  // simple folding: ß stays ß
    {"Stra\xC3\x9F"
     "e",
     "STRA\xE1\xBA\x9E"
     "E",
     true},                    // ß / ẞ
    {"a\xFF", "A\xFF", true},  // bytes that are not UTF-8
    {"a\xFF", "a\xFE", false},
    {"\xC3", "\xC3\xA9", false},  // a cut sequence
};

class SameName : public ::testing::TestWithParam<NamePair> {};

TEST_P(SameName, FoldsCaseNotAccents) {
    const NamePair& pair = GetParam();
    EXPECT_EQ(sameName(pair.a, pair.b), pair.same);
    EXPECT_EQ(sameName(pair.b, pair.a), pair.same);
    // The key agrees with the comparison, so maps keyed by it find the same names.
    EXPECT_EQ(foldName(pair.a) == foldName(pair.b), pair.same)
        << '"' << foldName(pair.a) << "\" / \"" << foldName(pair.b) << '"';
}

INSTANTIATE_TEST_SUITE_P(Pairs, SameName, ::testing::ValuesIn(kPairs));

TEST(FoldName, LowersAsciiAndKeepsOtherBytes) {
    EXPECT_EQ(foldName("MSysObjects"), "msysobjects");
    EXPECT_EQ(foldName("[Order Details]"), "[order details]");
    EXPECT_EQ(foldName("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(foldName(std::string("a\0B", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace orvdb::base
