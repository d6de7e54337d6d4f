#include "cli_run.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

struct CheckCommand : JetFixtureTest {
    // overflowTestV2000.mdb with the byte at `at` of the first page `wanted`
    // accepts changed, written to `name`.
    void damage(const std::string& name, const std::function<bool(size_t page)>& wanted, size_t at,
                const std::function<char(char)>& change) {
        bytes = test::readFile(jetFixture("overflowTestV2000.mdb"));
        page = 3;
        while ((page + 1) * 4096 <= bytes.size() && !wanted(page)) {
            ++page;
        }
        ASSERT_LT(page * 4096, bytes.size());
        bytes[page * 4096 + at] = change(bytes[page * 4096 + at]);
        file = (dir / name).string();
        test::writeFile(file, bytes);
    }
    int type(size_t page) const { return uint8_t(bytes[page * 4096]); }
    int owner(size_t page) const {
        return uint8_t(bytes[page * 4096 + 4]) | uint8_t(bytes[page * 4096 + 5]) << 8;
    }
    void expectRefused(const std::string& command, const std::string& expected) {
        auto r = runOrvdb(command);
        EXPECT_EQ(r.exitCode, 1) << command << ": " << r.out;
        EXPECT_NE(r.out.find(expected), std::string::npos) << command << ": " << r.out;
        EXPECT_EQ(test::readFile(file), bytes) << command << " changed the file";
    }
    std::string bytes;
    size_t page = 0;
    std::string file;
};

TEST_F(CheckCommand, CleanFileSaysOk) {
    // Access left this one without even a stale count; 35 pages of 4096 bytes.
    auto r = runOrvdb("check " + jetFixture("compIndexTestV2000.mdb"));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out.rfind("OK: 35 pages, ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" indexes checked"), std::string::npos) << r.out;
}

// Without the password it fails: JetFileCommands' bad input.
TEST_F(CheckCommand, PasswordIsHonoured) {
    // Access left stale distinct-key counts in it: warnings, which do not fail.
    auto with = runOrvdb("--password password check " + jetFixture("withPassword2000.mdb"));
    EXPECT_EQ(with.exitCode, 0) << with.out;
    EXPECT_NE(with.out.find("warning: "), std::string::npos) << with.out;
    EXPECT_EQ(with.out.find("error:"), std::string::npos) << with.out;
    EXPECT_EQ(with.out.find("OK:"), std::string::npos) << "OK only when nothing was found";
}

// A data page of a user table names another owner: the file opens
// read-only, every write refuses and leaves it as it was; a repair writes a
// sound copy and names the table it could not copy whole.
TEST_F(CheckCommand, DamagedFileIsNeverWrittenAndRepairCopiesWhatReads) {
    // The first data page of a user table (system tables come first).
    ASSERT_NO_FATAL_FAILURE(damage(
        "damaged.mdb",
        [&](size_t candidate) {
            return type(candidate) == 1 && owner(candidate) > 20 && owner(candidate) < 0x4000;
        },
        6, [](char) { return char(0x7F); }));
    expectRefused("sql " + file + " \"CREATE TABLE Extra (A LONG)\"",
                  "damaged and opened read-only");
    expectRefused("compact " + file, "damaged");
    expectRefused("check " + file,
                  "error: table 'Table1': its owned-pages map lists page " + std::to_string(page));
    expectRefused("export " + file, "page " + std::to_string(page));
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
    // A byte of the first entry's key in the first index leaf of MSysObjects
    // (defined on page 2).
    ASSERT_NO_FATAL_FAILURE(damage(
        "damaged-catalog.mdb",
        [&](size_t candidate) { return type(candidate) == 4 && owner(candidate) == 2; }, 0x1E0 + 3,
        [](char byte) { return char(byte ^ 0x20); }));
    ASSERT_EQ(runOrvdb("check " + file).exitCode, 1) << "the damage is not one check finds";

    EXPECT_EQ(runOrvdb("sql " + file + " \"SELECT COUNT(*) FROM Table1\"").exitCode, 0);
    for (const char* change : {"DELETE FROM Table1", "CREATE TABLE Extra (A LONG)"}) {
        expectRefused("sql " + file + " \"" + change + "\"",
                      "damaged and opened read-only: table 'MSysObjects'");
    }
    auto repair = runOrvdb("repair " + file + " --out " + (dir / "fixed.mdb").string());
    EXPECT_NE(repair.out.find("found: table 'MSysObjects'"), std::string::npos) << repair.out;
}

}  // namespace
}  // namespace orvdb::cli_test
