#include "cli_run.hpp"

#include <gtest/gtest.h>

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
        dir = fs::temp_directory_path() / ("orvdb-check-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }
    fs::path dir;
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
}

TEST_F(CheckCommand, DamagedCopyFailsNamingThePage) {
    std::ifstream in(fixture("compIndexTestV2000.mdb"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 3u * 4096);
    // A data page of MSysObjects (the table defined on page 2) gets a page
    // type Jet does not have.
    size_t page = 3;
    auto owner = [&](size_t at) {
        return uint8_t(bytes[at + 4]) | uint8_t(bytes[at + 5]) << 8 | uint8_t(bytes[at + 6]) << 16;
    };
    while ((page + 1) * 4096 <= bytes.size() &&
           !(bytes[page * 4096] == 0x01 && owner(page * 4096) == 2)) {
        ++page;
    }
    ASSERT_LT(page * 4096, bytes.size()) << "no data page of MSysObjects";
    bytes[page * 4096] = 0x07;
    fs::path damaged = dir / "damaged.mdb";
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));

    auto r = runOrvdb("check " + damaged.string());
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.out.find("error: page " + std::to_string(page) +
                         " (data page of table 'MSysObjects') has the unknown page type 0x07"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("OK:"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orvdb::cli_test
