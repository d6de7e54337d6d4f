// The file check: Access-made fixtures check clean, files the writer makes
// check without any finding, and damaged copies give the finding that
// names the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {
namespace {

using testing::FixtureInfo;

std::string listed(const CheckReport& report) {
    std::string text;
    for (const CheckFinding& finding : report.findings) {
        text += "\n  " + describe(finding);
    }
    return text;
}

size_t physicalIndexCount(const JetFile& file) {
    size_t count = 0;
    for (const std::string& name : file.tableNames(true)) {
        count += file.table(name)->physicalIndexes.size();
    }
    return count;
}

class FixtureCheck : public ::testing::TestWithParam<FixtureInfo> {};

// What Access leaves behind in the fixtures: stale counts and leaked pages.
// Only these may be found in them, and only as warnings.
const char* const kStaleInAccessFiles[] = {
    "distinct keys",                                       // all but the smallest files
    "rows, the data pages hold",                           // northwind MSysQueries: 524 vs 519
    "no table, index, long value or usage map owns them",  // northwind, testV2000
    "owned-pages map does not list it (",  // northwind: pages of a dropped MSysNavPaneObjectIDs
};

TEST_P(FixtureCheck, AccessFilesHaveNoErrors) {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
    JetFile file = JetFile::open(testing::fixturePath(GetParam().file), GetParam().password);
    CheckReport report = checkJetFile(file);
    EXPECT_FALSE(report.hasErrors()) << GetParam().file << ":" << listed(report);
    for (const CheckFinding& finding : report.findings) {
        EXPECT_TRUE(std::any_of(
            std::begin(kStaleInAccessFiles), std::end(kStaleInAccessFiles),
            [&](const char* stale) { return finding.text.find(stale) != std::string::npos; }))
            << describe(finding);
    }
    EXPECT_EQ(report.pages, file.pageCount());
    EXPECT_EQ(report.tables, file.tableNames(true).size());
    EXPECT_EQ(report.indexes, physicalIndexCount(file));
}

TEST_P(FixtureCheck, WrittenFilesHaveNoFindingAtAll) {
    ORVDB_REQUIRE_FIXTURE(GetParam().file);
    testing::TempDir dir;
    std::filesystem::path copy = dir.path() / "copy.mdb";
    writeJetFile(
        imageFromFile(JetFile::open(testing::fixturePath(GetParam().file), GetParam().password)),
        copy);
    CheckReport report = checkJetFile(JetFile::open(copy, GetParam().password));
    EXPECT_TRUE(report.findings.empty()) << GetParam().file << " rewritten:" << listed(report);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureCheck, ::testing::ValuesIn(testing::knownFixtures()),
                         [](const auto& info) { return testing::fixtureTestName(info.param); });

// ---- Damaged copies of a file the writer made ----

constexpr const char* kDamageFixture = "indexTestV2000.mdb";

uint32_t readU32(const std::vector<unsigned char>& bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (uint32_t{bytes[offset + 3]} << 24);
}

void writeU32(std::vector<unsigned char>& bytes, size_t offset, uint32_t value) {
    for (int n = 0; n < 4; ++n) {
        bytes[offset + n] = static_cast<unsigned char>(value >> (8 * n));
    }
}

struct Damage {
    const char* name;
    // Changes the bytes of the file; `file` is the undamaged file opened.
    std::function<void(const JetFile& file, std::vector<unsigned char>& bytes)> apply;
    std::vector<std::string> expected;  // parts of one finding
    CheckSeverity severity = CheckSeverity::Error;
};

// The first table with rows and a physical index over them.
std::shared_ptr<const TableDefinition> indexedTable(const JetFile& file) {
    for (const std::string& name : file.tableNames()) {
        auto table = file.table(name);
        if (table->rowCount >= 2 && !table->physicalIndexes.empty()) {
            return table;
        }
    }
    return nullptr;
}

constexpr size_t kRowCountOffset = 16;
constexpr size_t kEntriesOffset = 0x1E0;

// Swaps the first two entries of the first leaf of the table's first index.
// The writer stores a lone leaf root without a common prefix; swapping the
// stored bytes keeps the end-of-entry bits valid when both entries have the
// same length, so the test looks for such a pair.
void swapTwoEntries(const JetFile& file, std::vector<unsigned char>& bytes) {
    auto table = indexedTable(file);
    ASSERT_NE(table, nullptr);
    for (const PhysicalIndex& index : table->physicalIndexes) {
        PageRef root = file.pages().page(index.rootPage);
        ParsedIndexPage page = parseIndexPage(file.pages().view(*root), index.rootPage);
        if (!page.isLeaf() || page.prefixLength != 0 || page.entries.size() < 2) {
            continue;
        }
        const IndexEntry& a = page.entries[0];
        const IndexEntry& b = page.entries[1];
        if (a.key.size() != b.key.size() || a.key == b.key) {
            continue;
        }
        size_t length = a.key.size() + 4;
        size_t at = size_t{index.rootPage} * kPageSize + kEntriesOffset;
        std::swap_ranges(bytes.begin() + at, bytes.begin() + at + length,
                         bytes.begin() + at + length);
        return;
    }
    FAIL() << "no index with a leaf root holding two entries of the same length";
}

TEST(FileCheckDamage, EachDamageGivesItsFinding) {
    ORVDB_REQUIRE_FIXTURE(kDamageFixture);
    testing::TempDir dir;
    std::filesystem::path clean = dir.path() / "clean.mdb";
    writeJetFile(imageFromFile(JetFile::open(testing::fixturePath(kDamageFixture))), clean);
    const std::vector<unsigned char> original = testing::readFileBytes(clean);
    JetFile file = JetFile::open(clean);
    auto table = indexedTable(file);
    ASSERT_NE(table, nullptr);
    const std::string tableName = "table '" + table->name + "'";
    const uint32_t dataPage = [&] {
        TableReader reader = file.readTable(table->name);
        return reader.next()->id.page;
    }();

    const Damage damages[] = {
        {"index entries swapped", swapTwoEntries, {tableName, "entries out of order"}},
        {"usage-map bit of a data page cleared",
         [&](const JetFile&, std::vector<unsigned char>& bytes) {
             // The global map row is row 0 of page 1: mark the page free.
             size_t page1 = kPageSize;
             size_t rowStart = bytes[page1 + 14] | ((bytes[page1 + 15] & 0x1F) << 8);
             uint32_t start = readU32(bytes, page1 + rowStart + 1);
             size_t bit = dataPage - start;
             bytes[page1 + rowStart + 5 + bit / 8] |= static_cast<unsigned char>(1u << (bit % 8));
         },
         {"page " + std::to_string(dataPage), "global usage map marks it free"}},
        {"row count changed",
         [&](const JetFile&, std::vector<unsigned char>& bytes) {
             size_t at = size_t{table->page} * kPageSize + kRowCountOffset;
             writeU32(bytes, at, readU32(bytes, at) + 3);
         },
         {tableName, "records " + std::to_string(table->rowCount + 3) + " rows",
          "hold " + std::to_string(table->rowCount)},
         CheckSeverity::Warning},
        {"unknown page type",
         [&](const JetFile&, std::vector<unsigned char>& bytes) {
             bytes[size_t{dataPage} * kPageSize] = 0x07;
         },
         {"page " + std::to_string(dataPage), "data page of " + tableName,
          "unknown page type 0x07"}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        std::vector<unsigned char> bytes = original;
        damage.apply(file, bytes);
        ASSERT_NE(bytes, original);
        CheckReport report = checkJetFile(JetFile::openMemory(bytes, "damaged.mdb", std::nullopt));
        EXPECT_EQ(report.hasErrors(), damage.severity == CheckSeverity::Error) << listed(report);
        bool found = false;
        for (const CheckFinding& finding : report.findings) {
            bool all = finding.severity == damage.severity;
            for (const std::string& part : damage.expected) {
                all = all && finding.text.find(part) != std::string::npos;
            }
            found = found || all;
        }
        EXPECT_TRUE(found) << "expected a finding with " << damage.expected.front() << " ... "
                           << damage.expected.back() << "; got:" << listed(report);
    }
}

}  // namespace
}  // namespace orvdb::jet
