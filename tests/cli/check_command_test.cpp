#include "cli_run.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

std::string fixture(const std::string& name) {
    return std::string(ORVDB_FIXTURES_DIR) + "/jet4/" + name;
}

struct CheckCommand : ::testing::Test {
    void SetUp() override {
        if (!fs::exists(fixture("compIndexTestV2000.mdb"))) {
            GTEST_SKIP() << "Jet fixtures not found under " << ORVDB_FIXTURES_DIR
                         << "; the check command tests need compIndexTestV2000.mdb";
        }
    }
    test::TempDir scratch;
    fs::path dir = scratch.path();
};

TEST_F(CheckCommand, CleanFileSaysOk) {
    // Access left this one without even a stale count; 35 pages of 4096 bytes.
    auto r = runOrvdb("check " + fixture("compIndexTestV2000.mdb"));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out.rfind("OK: 35 pages, ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" indexes checked"), std::string::npos) << r.out;
}

// Without the password it fails: jet_write_commands_test's bad input.
TEST_F(CheckCommand, PasswordIsHonoured) {
    // Access left stale distinct-key counts in it: warnings, which do not fail.
    auto with = runOrvdb("--password password check " + fixture("withPassword2000.mdb"));
    EXPECT_EQ(with.exitCode, 0) << with.out;
    EXPECT_NE(with.out.find("warning: "), std::string::npos) << with.out;
    EXPECT_EQ(with.out.find("error:"), std::string::npos) << with.out;
    EXPECT_EQ(with.out.find("OK:"), std::string::npos) << "OK only when nothing was found";
}

// A data page of a user table names another owner: the file opens
// read-only, every write refuses and leaves it as it was; a repair writes a
// sound copy and names the table it could not copy whole.
TEST_F(CheckCommand, DamagedFileIsNeverWrittenAndRepairCopiesWhatReads) {
    std::ifstream in(fixture("overflowTestV2000.mdb"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto owner = [&](size_t page) {
        return uint8_t(bytes[page * 4096 + 4]) | uint8_t(bytes[page * 4096 + 5]) << 8;
    };
    size_t page = 3;
    while ((page + 1) * 4096 <= bytes.size() &&
           !(bytes[page * 4096] == 0x01 && owner(page) > 20 && owner(page) < 0x4000)) {
        ++page;  // the first data page of a user table (system tables come first)
    }
    ASSERT_LT(page * 4096, bytes.size());
    bytes[page * 4096 + 6] = 0x7F;
    fs::path damaged = dir / "damaged.mdb";
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    const std::string file = damaged.string();
    struct Refused {
        std::string command;
        std::string expected;
    };
    const Refused refused[] = {
        {"sql " + file + " \"CREATE TABLE Extra (A LONG)\"", "damaged and opened read-only"},
        {"compact " + file, "damaged"},
        {"check " + file,
         "error: table 'Table1': its owned-pages map lists page " + std::to_string(page)},
        {"export " + file, "page " + std::to_string(page)},
    };
    for (const Refused& run : refused) {
        auto r = runOrvdb(run.command);
        EXPECT_EQ(r.exitCode, 1) << run.command << ": " << r.out;
        EXPECT_NE(r.out.find(run.expected), std::string::npos) << run.command << ": " << r.out;
        std::ifstream after(damaged, std::ios::binary);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), std::istreambuf_iterator<char>(after)))
            << run.command << " changed the file";
    }
    fs::path fixed = dir / "fixed.mdb";
    auto repair = runOrvdb("repair " + file + " --out " + fixed.string());
    EXPECT_EQ(repair.exitCode, 0) << repair.out;
    EXPECT_NE(repair.out.find("table 'Table1'"), std::string::npos) << repair.out;
    EXPECT_EQ(runOrvdb("check " + fixed.string()).exitCode, 0);
    EXPECT_EQ(runOrvdb("repair " + file + " --out " + fixed.string()).exitCode, 1);
}

// An index of MSysObjects disagrees with its rows: reading works, and the
// first commit of any kind refuses, naming the damage, and leaves the file
// as it was; a repair names it too.
TEST_F(CheckCommand, DamagedCatalogIndexStopsTheFirstCommit) {
    std::ifstream in(fixture("overflowTestV2000.mdb"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto owner = [&](size_t page) {
        return uint8_t(bytes[page * 4096 + 4]) | uint8_t(bytes[page * 4096 + 5]) << 8;
    };
    size_t page = 3;
    while ((page + 1) * 4096 <= bytes.size() && !(bytes[page * 4096] == 0x04 && owner(page) == 2)) {
        ++page;  // the first index leaf of MSysObjects (defined on page 2)
    }
    ASSERT_LT(page * 4096, bytes.size());
    bytes[page * 4096 + 0x1E0 + 3] ^= 0x20;  // a byte of the first entry's key
    fs::path damaged = dir / "damaged-catalog.mdb";
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    const std::string file = damaged.string();
    ASSERT_EQ(runOrvdb("check " + file).exitCode, 1) << "the damage is not one check finds";

    EXPECT_EQ(runOrvdb("sql " + file + " \"SELECT COUNT(*) FROM Table1\"").exitCode, 0);
    for (const std::string& change :
         {std::string("DELETE FROM Table1"), std::string("CREATE TABLE Extra (A LONG)")}) {
        auto r = runOrvdb("sql " + file + " \"" + change + "\"");
        EXPECT_EQ(r.exitCode, 1) << change << ": " << r.out;
        EXPECT_NE(r.out.find("damaged and opened read-only: table 'MSysObjects'"),
                  std::string::npos)
            << change << ": " << r.out;
        std::ifstream after(damaged, std::ios::binary);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), std::istreambuf_iterator<char>(after)))
            << change << " changed the file";
    }
    auto repair = runOrvdb("repair " + file + " --out " + (dir / "fixed.mdb").string());
    EXPECT_NE(repair.out.find("found: table 'MSysObjects'"), std::string::npos) << repair.out;
}

}  // namespace
}  // namespace orvdb::cli_test
