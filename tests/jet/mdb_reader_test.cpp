// An independent reader (the npm package mdb-reader) must see the same
// tables, columns and values in a rewritten file as in the original.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "jet/fixture_support.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"
#include "support/mdb_reader.hpp"

namespace orvdb::jet {
namespace {

using test_support::mdbReaderDump;
using test_support::mdbReaderUnavailable;
using testing::FixtureInfo;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The dumps run to megabytes: show where they part, with some context.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::vector<std::string> a = linesOf(expected);
    std::vector<std::string> b = linesOf(actual);
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) {
        ++n;
    }
    std::string text = "at line " + std::to_string(n + 1) + " of " + std::to_string(a.size()) +
                       " (original) and " + std::to_string(b.size()) + " (rewritten)\n";
    for (size_t k = n >= 8 ? n - 8 : 0; k < n; ++k) {
        text += "    " + a[k] + "\n";
    }
    for (size_t k = n; k < std::min(a.size(), n + 4); ++k) {
        text += "  - " + a[k] + "\n";
    }
    for (size_t k = n; k < std::min(b.size(), n + 4); ++k) {
        text += "  + " + b[k] + "\n";
    }
    return text;
}

class MdbReaderComparison : public ::testing::TestWithParam<FixtureInfo> {};

TEST_P(MdbReaderComparison, RewrittenFileReadsTheSame) {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
    if (std::string missing = mdbReaderUnavailable(); !missing.empty()) {
        GTEST_SKIP() << "comparison with mdb-reader skipped: " << missing;
    }
    const std::filesystem::path original = testing::fixturePath(GetParam().file);
    std::optional<std::string> expected = mdbReaderDump(original, GetParam().password);
    ASSERT_TRUE(expected.has_value()) << "mdb-reader cannot read " << original;
    ASSERT_EQ(expected->rfind("{\n \"tables\"", 0), 0u) << *expected;

    testing::TempDir dir;
    const std::filesystem::path copy = dir.path() / "copy.mdb";
    writeJetFile(imageFromFile(JetFile::open(original, GetParam().password)), copy);
    std::optional<std::string> actual = mdbReaderDump(copy, GetParam().password);
    ASSERT_TRUE(actual.has_value()) << "mdb-reader cannot read the rewritten " << GetParam().file;
    if (*actual != *expected) {
        ADD_FAILURE() << "mdb-reader reads the rewritten " << GetParam().file << " differently:\n"
                      << firstDifference(*expected, *actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MdbReaderComparison,
                         ::testing::ValuesIn(testing::knownFixtures()),
                         [](const auto& info) { return testing::fixtureTestName(info.param); });

}  // namespace
}  // namespace orvdb::jet
