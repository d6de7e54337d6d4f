// Shared helpers for the Jet codec tests: the fixtures, a test run once per
// fixture, rows and errors as values, mdbtools and its CSV output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "jet/read/jet_file.hpp"
#include "jet/write/database_image.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

namespace orvdb::jet::testing {

// The folder of Access-made .mdb files; empty when it is absent.
std::filesystem::path fixtureDir();
std::filesystem::path fixturePath(const std::string& name);
bool haveFixture(const std::string& name);

// Every .mdb file of the fixture folder, with the password of the protected one.
struct FixtureInfo {
    std::string file;
    std::optional<std::string> password;
};
const std::vector<FixtureInfo>& knownFixtures();
// Keeps gtest from printing a FixtureInfo parameter as raw bytes.
void PrintTo(const FixtureInfo& info, std::ostream* out);
// Test-name suffix for a fixture: the file name without extension.
std::string fixtureTestName(const FixtureInfo& info);

// Fixtures with a part to play in several tests.
inline constexpr const char* kJetCreated = "adox_jet4.mdb";  // made by the Jet 4.0 engine
inline constexpr const char* kNorthwind = "northwind.mdb";

// A test run once per fixture, skipped when the fixture is absent:
// TEST_P(EveryFixture, ...). Suites with more to check before they run
// derive from it and instantiate with ORVDB_FOR_EVERY_FIXTURE.
class EveryFixture : public ::testing::TestWithParam<FixtureInfo> {
protected:
    void SetUp() override;
    std::filesystem::path path() const { return fixturePath(GetParam().file); }
    JetFile open() const { return JetFile::open(path(), GetParam().password); }
};

#define ORVDB_FOR_EVERY_FIXTURE(suite)                                                \
    INSTANTIATE_TEST_SUITE_P(                                                         \
        Fixtures, suite, ::testing::ValuesIn(::orvdb::jet::testing::knownFixtures()), \
        [](const auto& info) { return ::orvdb::jet::testing::fixtureTestName(info.param); })

std::string lower(std::string text);  // ASCII letters only

// Every row of a table in reading order.
std::vector<std::vector<Value>> allRows(const JetFile& file, const std::string& table);

// Adds the MSysObjects row of an object of the Tables container (Flags 0,
// dated 2023-03-15 12:00); its other columns stay Null.
void addCatalogRow(DatabaseImage& image, int64_t id, const std::string& name, ObjectType type);

// The message of the JetError `action` throws; empty when it throws none.
std::string errorOf(const std::function<void()>& action);

std::string hex(std::span<const uint8_t> bytes);  // lower case, no separators
std::vector<std::string> nonEmptyLines(const std::string& text);

using test::TempDir;
using test_support::haveCommand;
using test_support::runCommand;
using test_support::shellQuote;

// An mdbtools program (with its options) run on `file` and further
// arguments, each quoted: what it printed, or nullopt when it failed. What
// it says on stderr is dropped, or kept in the output with `keepErrors`.
std::optional<std::string> mdbtools(const std::string& program, const std::filesystem::path& file,
                                    const std::vector<std::string>& arguments = {},
                                    bool keepErrors = false);

std::vector<unsigned char> readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// RFC 4180-style parsing as mdb-export writes it: fields quoted with ",
// quotes doubled, newlines allowed inside quotes. A field that was quoted is
// marked so that an unquoted empty field (Null) can be told from "".
struct CsvField {
    std::string text;
    bool quoted = false;
};
using CsvRow = std::vector<CsvField>;
std::vector<CsvRow> parseCsv(const std::string& text);

}  // namespace orvdb::jet::testing

// Skips the current test unless every program named is installed.
#define ORVDB_REQUIRE_COMMANDS(...)                                         \
    do {                                                                    \
        for (const char* program : {__VA_ARGS__}) {                         \
            if (!::orvdb::jet::testing::haveCommand(program)) {             \
                GTEST_SKIP() << program                                     \
                             << " (mdbtools) is not installed; nothing to " \
                                "compare with";                             \
            }                                                               \
        }                                                                   \
    } while (false)

// Skips the current test when the fixture folder or file is missing.
#define ORVDB_REQUIRE_FIXTURE(name)                                                        \
    do {                                                                                   \
        if (!::orvdb::jet::testing::haveFixture(name)) {                                   \
            GTEST_SKIP() << "fixture " << (name) << " not found under " ORVDB_FIXTURES_DIR \
                         << "/jet4; the Jet fixture tests need it";                        \
        }                                                                                  \
    } while (false)
