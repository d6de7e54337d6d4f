// Every fixture read, written (tables kept on their pages, and packed in
// reverse so that every reference must follow) and read again is the same
// database to us and to mdb-reader; a new database is Jet's.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/read/relationships.hpp"
#include "jet/read/saved_queries.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"
#include "jet/write/new_database_image.hpp"
#include "support/mdb_reader.hpp"

namespace orvdb::jet {
namespace {

using testing::FixtureInfo;

// ---- One line per thing compared, so a difference shows as one line ----

// Fails naming the first line where the lists part.
void expectSameList(const std::vector<std::string>& expected,
                    const std::vector<std::string>& actual, const std::string& what) {
    auto [a, b] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    if (a != expected.end() || b != actual.end()) {
        ADD_FAILURE() << what << " differ at line " << (a - expected.begin()) + 1 << " of "
                      << expected.size() << "/" << actual.size() << ":\n  expected "
                      << (a == expected.end() ? "(end)" : *a) << "\n  actual   "
                      << (b == actual.end() ? "(end)" : *b);
    }
}

std::vector<std::string> rowLines(const std::vector<std::vector<Value>>& rows) {
    std::vector<std::string> lines;
    for (const std::vector<Value>& row : rows) {
        lines.emplace_back();
        for (const Value& value : row) {
            lines.back() += describe(value) + "|";
        }
    }
    return lines;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) {
        out += part + "|";
    }
    return out;
}

std::string number(int64_t value) {
    return std::to_string(value);
}

// A definition without what a writer decides: pages, row and entry counts.
// `tableAt` names the table at a definition page.
std::vector<std::string> definitionLines(const TableDefinition& table,
                                         const std::function<std::string(uint32_t)>& tableAt) {
    std::vector<std::string> out = {
        joined({table.name, number(table.tableType), number(table.maxColumns),
                number(table.variableColumnCount)})};
    for (const Column& column : table.columns) {
        out.push_back(
            joined({"column " + column.name, number(column.typeCode), number(column.number),
                    number(column.variableIndex), number(column.fixedOffset), number(column.length),
                    number(column.flags), number(column.extendedFlags), number(column.precision),
                    number(column.scale), number(column.sortOrder), number(column.sortOrderVersion),
                    number(column.definitionOrder), number(column.displayIndex),
                    number(column.longValueOwnedPages.has_value())}));
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        std::string columns;
        for (const IndexColumn& column : index.columns) {
            columns += number(column.columnNumber) + (column.ascending ? "+" : "-");
        }
        out.push_back(joined({"physical index " + number(index.number), number(index.flags),
                              columns, number(index.rootPage != 0)}));
    }
    for (const LogicalIndex& index : table.indexes) {
        out.push_back(
            joined({"index " + index.name, number(index.number), number(index.physicalIndex),
                    number(index.kindCode), number(index.relatedTableType),
                    number(index.relatedIndex), number(index.cascadeUpdates),
                    number(index.cascadeDeletes), number(index.cascadeSetNull),
                    index.relatedTablePage ? tableAt(index.relatedTablePage) : ""}));
    }
    return out;
}

// Catalog objects by name and type; a table's id is its page, which may move.
std::vector<std::string> catalogLines(const JetFile& file) {
    std::vector<std::string> out;
    for (const CatalogObject& object : file.catalog().objects()) {
        auto date = [](const std::optional<double>& days) {
            return days ? describe(Value(*days)) : "-";  // every digit
        };
        out.push_back(joined(
            {object.name, number(object.type), number(object.parentId), number(object.flags),
             date(object.dateCreate), date(object.dateUpdate), object.database, object.connect,
             testing::hex(object.lvProp), object.isTable() ? "" : number(object.id)}));
    }
    return out;
}

std::vector<std::string> relationshipAndQueryLines(const JetFile& file) {
    std::vector<std::string> out;
    for (const Relationship& relationship : readRelationships(file)) {
        out.push_back(joined({"relationship " + relationship.name, relationship.table,
                              relationship.referencedTable, joined(relationship.columns),
                              joined(relationship.referencedColumns), number(relationship.flags)}));
    }
    for (const SavedQuery& query : readSavedQueries(file)) {
        out.push_back(joined({"query " + query.name, query.sql, query.problem}));
    }
    return out;
}

std::function<std::string(uint32_t)> tableNameAt(const JetFile& file) {
    return [&file](uint32_t page) {
        for (const CatalogObject* table : file.catalog().tables(true)) {
            if (table->tablePage() == page) {
                return table->name;
            }
        }
        return "(no table at page " + number(page) + ")";
    };
}

// ---- Rows, with ids of moved tables renumbered ----

// Original table page -> the page the same table has in the copy.
using MovedIds = std::map<int64_t, int64_t>;

MovedIds movedIds(const JetFile& original, const JetFile& copy) {
    MovedIds moved;
    for (const CatalogObject* table : original.catalog().tables(true)) {
        moved[table->tablePage()] = copy.catalog().findTable(table->name)->tablePage();
    }
    return moved;
}

// Columns of Jet's and Access's tables that name objects by id.
bool holdsObjectIds(const std::string& table, const std::string& column) {
    return (table == "MSysObjects" && (column == "Id" || column == "ParentId")) ||
           (table == "MSysACEs" && column == "ObjectId") ||
           (table == "MSysNavPaneGroupToObjects" && column == "ObjectID") ||
           (table == "MSysNavPaneObjectIDs" && column == "Id");
}

// The row with the ids the copy must hold.
void renumber(std::vector<Value>& values, const TableDefinition& table, const MovedIds& moved) {
    for (size_t c = 0; c < values.size(); ++c) {
        auto* id = std::get_if<int64_t>(&values[c]);
        if (id && moved.count(*id) && moved.at(*id) != *id &&
            holdsObjectIds(table.name, table.columns[c].name)) {
            *id = moved.at(*id);
        }
    }
}

void expectSameTable(const JetFile& original, const JetFile& copy, const std::string& name,
                     const MovedIds& moved) {
    SCOPED_TRACE("table " + name);
    auto a = original.table(name);
    auto b = copy.table(name);
    expectSameList(definitionLines(*a, tableNameAt(original)),
                   definitionLines(*b, tableNameAt(copy)), "definitions");
    std::vector<std::vector<Value>> rows = testing::allRows(original, name);
    EXPECT_EQ(b->rowCount, rows.size());
    EXPECT_GE(b->lastAutoNumber, a->lastAutoNumber);
    for (std::vector<Value>& row : rows) {
        renumber(row, *a, moved);
    }
    expectSameList(rowLines(rows), rowLines(testing::allRows(copy, name)), "rows");
}

// ---- The round trips ----

enum class Layout { KeepPages, Moved };

struct RoundTrip {
    FixtureInfo fixture;
    Layout layout;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.fixture.file << (trip.layout == Layout::Moved ? " moved" : "");
}

// The copy of a fixture, written once per layout for all tests.
const std::filesystem::path& writtenCopy(const FixtureInfo& fixture, Layout layout) {
    static testing::TempDir dir;
    static std::map<std::pair<std::string, Layout>, std::filesystem::path> copies;
    auto [entry, added] = copies.try_emplace({fixture.file, layout});
    if (added) {
        entry->second = dir.path() / (number(static_cast<int>(layout)) + "-" + fixture.file);
        DatabaseImage image =
            imageFromFile(JetFile::open(testing::fixturePath(fixture.file), fixture.password));
        WriteOptions options;
        if (layout == Layout::Moved) {
            // Packed in reverse order, the tables land on other pages.
            std::reverse(image.tables.begin(), image.tables.end());
            options.keepTablePages = false;
        }
        writeJetFile(image, entry->second, options);
    }
    return entry->second;
}

class WriterRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(WriterRoundTrip, WrittenFileReadsAsTheOriginal) {
    const FixtureInfo& fixture = GetParam().fixture;
    ORVDB_REQUIRE_FIXTURE(fixture.file);
    JetFile original = JetFile::open(testing::fixturePath(fixture.file), fixture.password);
    JetFile copy = JetFile::open(writtenCopy(fixture, GetParam().layout), fixture.password);
    EXPECT_EQ(copy.header().password, original.header().password);

    MovedIds moved = movedIds(original, copy);
    if (GetParam().layout == Layout::KeepPages) {
        // Tables keep their pages unless those lie beyond the packed file.
        for (const auto& [before, after] : moved) {
            EXPECT_TRUE(before >= copy.pageCount() || before == after) << before << " " << after;
        }
    } else {
        EXPECT_TRUE(std::any_of(moved.begin(), moved.end(),
                                [](const auto& entry) { return entry.first != entry.second; }));
    }
    ASSERT_EQ(original.tableNames(true), copy.tableNames(true));
    expectSameList(catalogLines(original), catalogLines(copy), "catalog objects");
    for (const std::string& name : original.tableNames(true)) {
        expectSameTable(original, copy, name, moved);
    }
    expectSameList(relationshipAndQueryLines(original), relationshipAndQueryLines(copy),
                   "relationships and queries");

    CheckReport report = checkJetFile(copy);
    for (const CheckFinding& finding : report.findings) {
        ADD_FAILURE() << describe(finding);
    }
}

std::vector<RoundTrip> allRoundTrips() {
    std::vector<RoundTrip> trips;
    for (Layout layout : {Layout::KeepPages, Layout::Moved}) {
        for (const FixtureInfo& fixture : testing::knownFixtures()) {
            trips.push_back({fixture, layout});
        }
    }
    return trips;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WriterRoundTrip, ::testing::ValuesIn(allRoundTrips()),
                         [](const auto& info) {
                             return testing::fixtureTestName(info.param.fixture) +
                                    (info.param.layout == Layout::Moved ? "_Moved" : "");
                         });

// ---- Another reader sees the copy as the original ----

// mdb-reader reads the user tables whole; the system tables are compared
// above, and mdbtools reads every original in mdbtools_comparison_test.
class OtherReaders : public testing::EveryFixture {};

TEST_P(OtherReaders, MdbReaderSeesTheSame) {
    if (std::string missing = test_support::mdbReaderUnavailable(); !missing.empty()) {
        GTEST_SKIP() << "comparison with mdb-reader skipped: " << missing;
    }
    std::optional<std::string> expected = test_support::mdbReaderDump(path(), GetParam().password);
    ASSERT_TRUE(expected.has_value()) << "mdb-reader cannot read " << path();
    ASSERT_EQ(expected->rfind("{\n \"tables\"", 0), 0u) << *expected;
    std::optional<std::string> actual = test_support::mdbReaderDump(
        writtenCopy(GetParam(), Layout::KeepPages), GetParam().password);
    ASSERT_TRUE(actual.has_value()) << "mdb-reader cannot read the rewritten " << GetParam().file;
    expectSameList(testing::nonEmptyLines(*expected), testing::nonEmptyLines(*actual),
                   "mdb-reader's dumps of the original and the rewritten file");
}

ORVDB_FOR_EVERY_FIXTURE(OtherReaders);

// ---- A new database ----

TEST(NewDatabase, IsWhatJetCreates) {
    ORVDB_REQUIRE_FIXTURE(testing::kJetCreated);
    testing::TempDir dir;
    std::filesystem::path target = dir.path() / "new.mdb";
    writeJetFile(newDatabaseImage(), target);
    JetFile jet = JetFile::open(testing::fixturePath(testing::kJetCreated));
    JetFile written = JetFile::open(target);

    EXPECT_EQ(imageFromFile(written).headerPage, imageFromFile(jet).headerPage);
    expectSameList(catalogLines(jet), catalogLines(written), "catalog objects");
    for (const std::string& name : jet.tableNames(true)) {
        SCOPED_TRACE(name);
        EXPECT_EQ(written.table(name)->page, jet.table(name)->page);
        expectSameList(definitionLines(*jet.table(name), tableNameAt(jet)),
                       definitionLines(*written.table(name), tableNameAt(written)), "definitions");
        expectSameList(rowLines(testing::allRows(jet, name)),
                       rowLines(testing::allRows(written, name)), "rows");
    }
    if (testing::haveCommand("mdb-schema")) {
        EXPECT_EQ(testing::mdbtools("mdb-schema", target),
                  testing::mdbtools("mdb-schema", testing::fixturePath(testing::kJetCreated)));
    }
}

// The rest of the header and the catalog are compared with Jet's above.
TEST(NewDatabase, CarriesItsCreationDate) {
    const double date = 46000.5;
    JetFile file =
        JetFile::openMemory(buildJetFile(newDatabaseImage(date), "dated.mdb"), "dated.mdb");
    EXPECT_EQ(file.header().creationDate, date);
    ASSERT_FALSE(file.catalog().objects().empty());
    for (const CatalogObject& object : file.catalog().objects()) {
        EXPECT_EQ(object.dateCreate, date) << object.name;
    }
}

}  // namespace
}  // namespace orvdb::jet
