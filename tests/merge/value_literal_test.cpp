// Literals of the merge script: quoting, and how key values are shifted.
#include <gtest/gtest.h>

#include "merge/table_export.hpp"

namespace orvdb::merge {
namespace {

TEST(MergeLiterals, QuotesAreDoubledAndFloatsKeepTheirShortestForm) {
    EXPECT_EQ(quoteText("it's 'x'"), "it''s ''x''");
    EXPECT_EQ(quoteText("plain"), "plain");
    const std::pair<float, const char*> floats[] = {
        {2.5f, "10000002.5"}, {0.1f, "10000000.1"}, {7.0f, "10000007"}};
    for (const auto& [value, expected] : floats) {
        EXPECT_EQ(shiftedFloatLiteral(value, 10000000), expected) << value;
    }
}

}  // namespace
}  // namespace orvdb::merge
