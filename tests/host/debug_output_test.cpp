#include "host/debug_output.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace orvdb::host {
namespace {

using test::readFile;
using test::TempDir;

// Sets ORVDB_DEBUG for one test; the channel is silent again afterwards.
class DebugOutputTest : public ::testing::Test {
protected:
    void TearDown() override { useEnvironment(nullptr); }
    void useEnvironment(const char* value) {
        if (value) {
            ::setenv("ORVDB_DEBUG", value, 1);
        } else {
            ::unsetenv("ORVDB_DEBUG");
        }
        configureDebugFromEnvironment();
    }
};

TEST_F(DebugOutputTest, SilentWithoutOrvdbDebug) {
    for (const char* value : {static_cast<const char*>(nullptr), "", "0"}) {
        useEnvironment(value);
        ::testing::internal::CaptureStderr();
        debugOutput("no such column: Position SELECT [Position] FROM Profils");
        debugTrace("DROP TABLE Missing");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << (value ? value : "unset");
        EXPECT_FALSE(debugTraceEnabled());
    }
}

TEST_F(DebugOutputTest, AppendsToTheFileThatOrvdbDebugNames) {
    TempDir dir;
    const std::string log = dir / "debug.log";
    test::writeFile(log, "earlier\n");
    useEnvironment(log.c_str());
    debugOutput("first");
    debugTrace("failed: DROP TABLE Missing");
    debugOutput("second\n");
    EXPECT_EQ(readFile(log), "earlier\nfirst\nfailed: DROP TABLE Missing\nsecond\n");
}

TEST_F(DebugOutputTest, StderrWhenAskedForAndTraceFollowsTheSwitch) {
    useEnvironment("stderr");
    ::testing::internal::CaptureStderr();
    debugOutput("visible");
    debugTrace("traced");
    std::string text = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(text, ::testing::HasSubstr("visible"));
    EXPECT_THAT(text, ::testing::HasSubstr("traced"));

    std::vector<std::string> seen;
    setDebugSink([&seen](std::string_view t) { seen.emplace_back(t); });
    setDebugTrace(false);
    debugOutput("out");
    debugTrace("hidden");
    setDebugTrace(true);
    debugTrace("shown");
    EXPECT_EQ(seen, (std::vector<std::string>{"out", "shown"}));
    // A sink that throws does not reach the caller.
    setDebugSink([](std::string_view) { throw std::runtime_error("sink broken"); });
    EXPECT_NO_THROW(debugOutput("text"));
}

}  // namespace
}  // namespace orvdb::host
