#include "cli_run.hpp"

#include <gtest/gtest.h>

#include <fstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

TEST(CliGlobalOptions, VersionAndHelp) {
    auto v = runOrvdb("--version");
    EXPECT_EQ(v.exitCode, 0);
    EXPECT_EQ(v.out.rfind("orvdb ", 0), 0u) << v.out;
    auto h = runOrvdb("--help");
    EXPECT_EQ(h.exitCode, 0);
    for (const char* option : {"--config", "--data-root", "--yes", "--no", "-v"}) {
        EXPECT_NE(h.out.find(option), std::string::npos) << option;
    }
    auto sub = runOrvdb("host --help");
    EXPECT_EQ(sub.exitCode, 0);
    EXPECT_NE(sub.out.find("--all"), std::string::npos);
}

TEST(CliGlobalOptions, BadUsageFailsWithAMessage) {
    auto r = runOrvdb("--no-such-option");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find("--no-such-option"), std::string::npos);
    auto both = runOrvdb("--yes --no host");
    EXPECT_NE(both.exitCode, 0);
    auto missing = runOrvdb("--config /nonexistent/orvdb.ini host");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.out.find("/nonexistent/orvdb.ini"), std::string::npos);
    // An empty value takes nothing after it: the command still runs.
    auto emptyPassword = runOrvdb("--password= tables /nonexistent/none.mdb");
    EXPECT_NE(emptyPassword.out.find("none.mdb"), std::string::npos) << emptyPassword.out;
    // Devices and folders are no database files, and must not be read.
    for (const char* command : {"info", "check", "compact", "tables"}) {
        auto device = runOrvdbBounded(std::string(command) + " /dev/zero", 20, 4096);
        EXPECT_EQ(device.exitCode, 1) << command;
        EXPECT_NE(device.out.find("not a regular file"), std::string::npos) << device.out;
    }
}

// Which source wins is the registry loader's; here the flags, the
// environment and the config file only have to reach it.
TEST(CliGlobalOptions, DataRootFlagBeatsEnvironmentAndConfig) {
    test::TempDir dir;
    fs::path ini = dir.path() / "host.ini";
    std::ofstream(ini) << "[registry]\nDataRoot = /from/config/\nLanguageFolder = /lng/\n";
    std::string config = "--config " + ini.string() + " host";

    auto fromEnv = runOrvdb(config, "ORVDB_DATA_ROOT=/from/env");
    EXPECT_NE(fromEnv.out.find("30\tdata root\t/from/env/"), std::string::npos) << fromEnv.out;
    auto fromFlag = runOrvdb("--data-root /from/flag " + config, "ORVDB_DATA_ROOT=/from/env");
    EXPECT_EQ(fromFlag.exitCode, 0) << fromFlag.out;
    EXPECT_NE(fromFlag.out.find("30\tdata root\t/from/flag/"), std::string::npos) << fromFlag.out;
    // A folder the flag does not set still comes from the config file.
    EXPECT_NE(fromFlag.out.find("64\tlanguage folder\t/lng/"), std::string::npos);
}

}  // namespace
}  // namespace orvdb::cli_test
