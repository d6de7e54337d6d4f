// The file check: Access-made fixtures check clean, and damaged copies of a
// written file give the finding that names the damage.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/index_page.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {
namespace {

using testing::EveryFixture;

std::string listed(const CheckReport& report) {
    std::string text;
    for (const CheckFinding& finding : report.findings) {
        text += "\n  " + describe(finding);
    }
    return text;
}

// What Access leaves behind in the fixtures: stale counts and leaked pages.
// Only these may be found in them, and only as warnings.
const char* const kStaleInAccessFiles[] = {
    "distinct keys",                                       // all but the smallest files
    "rows, the data pages hold",                           // northwind MSysQueries: 524 vs 519
    "no table, index, long value or usage map owns them",  // northwind, testV2000
    "owned-pages map does not list it (",  // northwind: pages of a dropped MSysNavPaneObjectIDs
};

TEST_P(EveryFixture, AccessFilesHaveNoErrors) {
    JetFile file = open();
    CheckReport report = checkJetFile(file);
    EXPECT_FALSE(report.hasErrors()) << GetParam().file << ":" << listed(report);
    for (const CheckFinding& finding : report.findings) {
        EXPECT_TRUE(std::any_of(
            std::begin(kStaleInAccessFiles), std::end(kStaleInAccessFiles),
            [&](const char* stale) { return finding.text.find(stale) != std::string::npos; }))
            << describe(finding);
    }
    size_t indexes = 0;
    for (const std::string& name : file.tableNames(true)) {
        indexes += file.table(name)->physicalIndexes.size();
    }
    EXPECT_EQ(report.pages, file.pageCount());
    EXPECT_EQ(report.tables, file.tableNames(true).size());
    EXPECT_EQ(report.indexes, indexes);
}

// ---- Damaged copies of a file the writer made ----

constexpr const char* kDamageFixture = "indexTestV2000.mdb";

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

// The first two entries of a leaf root of the table's indexes, both of the
// same length: where the first starts in the file and the length of each
// (key and row pointer). The writer stores a lone leaf root without a common
// prefix, so swapping or editing the stored bytes keeps the end-of-entry
// bits valid.
struct EntryPair {
    size_t first = 0;
    size_t length = 0;
    size_t pointer(size_t entry) const {
        return first + entry * length + length - index_page::kRowPointerSize;
    }
};

EntryPair entryPair(const JetFile& file) {
    auto table = indexedTable(file);
    if (table != nullptr) {
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
            return {size_t{index.rootPage} * kPageSize + index_page::kEntries,
                    a.key.size() + index_page::kRowPointerSize};
        }
    }
    ADD_FAILURE() << "no index with a leaf root holding two entries of the same length";
    return {};
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

    const EntryPair pair = entryPair(file);
    auto pointer = [&](std::vector<unsigned char>& bytes, size_t entry) {
        return bytes.begin() + static_cast<ptrdiff_t>(pair.pointer(entry));
    };
    auto pointAtNoRow = [&](auto& bytes) {
        pointer(bytes, 0)[index_page::kRowPointerSize - 1] = 0xF0;
    };
    struct Damage {
        const char* name;
        std::function<void(std::vector<unsigned char>& bytes)> apply;
        std::vector<std::string> expected;  // parts of one finding
        CheckSeverity severity = CheckSeverity::Error;
    };
    const Damage damages[] = {
        {"index entries swapped",
         [&](auto& bytes) {
             auto first = bytes.begin() + static_cast<ptrdiff_t>(pair.first);
             std::swap_ranges(first, first + static_cast<ptrdiff_t>(pair.length),
                              first + static_cast<ptrdiff_t>(pair.length));
         },
         {tableName, "entries out of order"}},
        {"rows of two index entries swapped",
         [&](auto& bytes) {
             std::swap_ranges(pointer(bytes, 0), pointer(bytes, 0) + index_page::kRowPointerSize,
                              pointer(bytes, 1));
         },
         {tableName, "the entry for the row at", "but the row's values give"}},
        // The first entry points at a slot of its page that holds no row.
        {"an index entry points at an empty slot",
         pointAtNoRow,
         {tableName, "which holds no live row of the table"}},
        {"an index entry points at an empty slot: its row is not listed",
         pointAtNoRow,
         {tableName, "is listed 0 times instead of once"}},
        // The first entry points at the second one's row: listed twice, its own row not at all.
        {"two index entries point at one row",
         [&](auto& bytes) {
             std::copy_n(pointer(bytes, 1), index_page::kRowPointerSize, pointer(bytes, 0));
         },
         {tableName, "is listed 2 times instead of once"}},
        {"usage-map bit of a data page cleared",
         [&](std::vector<unsigned char>& bytes) {
             // The global map is row 0 of its page: mark the page free.
             std::span<uint8_t> page =
                 std::span(bytes).subspan(size_t{kGlobalUsageMapPage} * kPageSize, kPageSize);
             std::span<uint8_t> row =
                 page.subspan(getU16(page, data_page::rowOffsetAt(0)) & data_page::kOffsetMask);
             size_t bit = dataPage - getU32(row, usage_map::kStartPage);
             row[usage_map::kInlineBitmap + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
         },
         {"page " + std::to_string(dataPage), "global usage map marks it free"}},
        {"row count changed",
         [&](std::vector<unsigned char>& bytes) {
             size_t at = size_t{table->page} * kPageSize + tdef::kRowCount;
             putU32(bytes, at, getU32(bytes, at) + 3);
         },
         {tableName, "records " + std::to_string(table->rowCount + 3) + " rows",
          "hold " + std::to_string(table->rowCount)},
         CheckSeverity::Warning},
        {"unknown page type",
         [&](std::vector<unsigned char>& bytes) { bytes[size_t{dataPage} * kPageSize] = 0x07; },
         {"page " + std::to_string(dataPage), "data page of " + tableName,
          "unknown page type 0x07"}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        std::vector<unsigned char> bytes = original;
        damage.apply(bytes);
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
