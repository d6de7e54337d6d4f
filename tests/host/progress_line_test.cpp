// The terminal progress line: the filled share of the bar follows position
// over max, and a position outside 0..max fills all or nothing instead of
// failing.
#include "host/progress.hpp"

#include <gtest/gtest.h>

namespace orvdb::host {
namespace {

struct LineCase {
    ProgressBar bar;
    int width;
    const char* expected;
};

TEST(ProgressLine, FillsTheShareOfTheBarThePositionReached) {
    const LineCase cases[] = {
        {{4, 2, "Tables"}, 4, "Tables [##..] 2/4"},
        {{3, 1, "Rows"}, 6, "Rows [##....] 1/3"},
        {{0, 0, ""}, 3, "[...] 0/0"},
        {{5, 7, "Rows"}, 4, "Rows [####] 7/5"},
        {{5, -1, "Rows"}, 4, "Rows [....] -1/5"},
        {{5, 5, "Done"}, 0, "Done [] 5/5"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(progressLine(c.bar, c.width), c.expected) << c.expected;
    }
}

}  // namespace
}  // namespace orvdb::host
