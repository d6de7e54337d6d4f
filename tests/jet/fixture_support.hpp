// Shared helpers for the Jet codec tests: where the fixtures are, running the
// mdbtools commands for comparison, parsing their CSV output.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/shell_command.hpp"

namespace orvdb::jet::testing {

// The folder of Access-made .mdb files; empty when it is absent.
std::filesystem::path fixtureDir();
std::filesystem::path fixturePath(const std::string& name);
bool haveFixture(const std::string& name);

// The fixtures this suite knows, with the password of the protected one.
struct FixtureInfo {
    std::string file;
    std::optional<std::string> password;
};
const std::vector<FixtureInfo>& knownFixtures();
// Keeps gtest from printing a FixtureInfo parameter as raw bytes.
void PrintTo(const FixtureInfo& info, std::ostream* out);
// Test-name suffix for a fixture: the file name without extension.
std::string fixtureTestName(const FixtureInfo& info);

using test_support::haveCommand;
using test_support::runCommand;
using test_support::shellQuote;

// RFC 4180-style parsing as mdb-export writes it: fields quoted with ",
// quotes doubled, newlines allowed inside quotes. A field that was quoted is
// marked so that an unquoted empty field (Null) can be told from "".
struct CsvField {
    std::string text;
    bool quoted = false;
};
using CsvRow = std::vector<CsvField>;
std::vector<CsvRow> parseCsv(const std::string& text);

// A scratch folder removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::vector<unsigned char> readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

}  // namespace orvdb::jet::testing

// Skips the current test when the fixture folder or file is missing.
#define ORVDB_REQUIRE_FIXTURE(name)                                                        \
    do {                                                                                   \
        if (!::orvdb::jet::testing::haveFixture(name)) {                                   \
            GTEST_SKIP() << "fixture " << (name) << " not found under " ORVDB_FIXTURES_DIR \
                         << "/jet4; the Jet fixture tests need it";                        \
        }                                                                                  \
    } while (false)
