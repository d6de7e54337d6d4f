#include "host/database_connector.hpp"
#include "host/progress.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace orvdb::host {
namespace {

TEST(DatabaseConnectorTest, DateTimeAndBlobLiterals) {
    struct Case {
        double days;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, "#1899-12-30 00:00:00#"},
        {2.0, "#1900-01-01 00:00:00#"},
        {61.0, "#1900-03-01 00:00:00#"},
        {36526.5, "#2000-01-01 12:00:00#"},
        // 5 March 2024 14:07:09.9: rounds to the nearest second.
        {45356.0 + (14 * 3600 + 7 * 60 + 9.9) / 86400.0, "#2024-03-05 14:07:10#"},
        // Just before midnight rounds into the next day.
        {1.0 - 1e-9, "#1899-12-31 00:00:00#"},
        // Negative days count backwards, the fraction still forwards.
        {-1.25, "#1899-12-29 06:00:00#"},
        {-693593.0, "#0001-01-01 00:00:00#"},
        {2958465.0, "#9999-12-31 00:00:00#"},
    };
    DefaultDatabaseConnector connector;
    for (const Case& c : cases) {
        EXPECT_EQ(connector.renderDateTimeLiteral(c.days), c.expected) << c.days;
    }
    EXPECT_THROW(connector.renderDateTimeLiteral(3000000.0), std::invalid_argument);
    EXPECT_THROW(connector.renderDateTimeLiteral(-700000.0), std::invalid_argument);
    EXPECT_THROW(connector.renderDateTimeLiteral(std::nan("")), std::invalid_argument);
    // Blobs are upper-case hex.
    EXPECT_EQ(connector.renderBlobLiteral(std::vector<uint8_t>{0x00, 0xAB, 0x0F, 0xFF}),
              "0x00AB0FFF");
    EXPECT_EQ(connector.renderBlobLiteral({}), "0x");
}

TEST(TerminalProgressTest, BarsAndCaptionsFollowTheCallsAndIgnoreOtherIndexes) {
    TerminalProgress progress(nullptr, 10);
    EXPECT_EQ(progress.text(), "stTablename [..........] 0/100\nstFieldname [..........] 0/100");
    progress.setMessage(0, "XLibData");  // no title yet: the caption is cleared
    progress.setMax(0, 4);
    progress.step(0);
    progress.step(0);
    progress.setTitle(1, "Champs");
    progress.setMax(1, 3);
    progress.setPosition(1, 99);  // clamped to the maximum
    progress.step(2);
    progress.setTitle(2, "ignored");
    EXPECT_EQ(progress.text(), "[#####.....] 2/4\nChamps [##########] 3/3");

    progress.setTitle(0, "Progression de la table en cours:");
    progress.setMessage(0, "Profils");
    progress.setMessage(1, "ignored");
    progress.setMax(1, 2);  // the position follows a lower maximum
    EXPECT_EQ(progress.text(),
              "Progression de la table en cours: Profils [#####.....] 2/4\n"
              "Champs [##########] 2/2");
}

// A position outside 0..max fills all or nothing instead of failing.
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
