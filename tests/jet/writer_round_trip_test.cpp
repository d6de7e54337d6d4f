// Every fixture read, turned into an image, written and read again must give
// the same database: tables, definitions, rows, catalog objects (properties
// included), relationships and saved queries; mdbtools must see the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "jet/fixture_support.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/index/index_key.hpp"
#include "jet/index/index_reader.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/relationships.hpp"
#include "jet/read/saved_queries.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"

namespace orvdb::jet {
namespace {

using testing::FixtureInfo;

std::vector<std::vector<Value>> allRows(const JetFile& file, const std::string& table) {
    std::vector<std::vector<Value>> rows;
    TableReader reader = file.readTable(table);
    while (auto row = reader.next()) {
        rows.push_back(std::move(row->values));
    }
    return rows;
}

void expectSameColumns(const TableDefinition& original, const TableDefinition& copy) {
    ASSERT_EQ(original.columns.size(), copy.columns.size());
    for (size_t n = 0; n < original.columns.size(); ++n) {
        const Column& a = original.columns[n];
        const Column& b = copy.columns[n];
        SCOPED_TRACE("column " + a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.typeCode, b.typeCode);
        EXPECT_EQ(a.number, b.number);
        EXPECT_EQ(a.length, b.length);
        EXPECT_EQ(a.flags, b.flags);
        EXPECT_EQ(a.extendedFlags, b.extendedFlags);
        EXPECT_EQ(a.precision, b.precision);
        EXPECT_EQ(a.scale, b.scale);
        EXPECT_EQ(a.sortOrder, b.sortOrder);
        EXPECT_EQ(a.definitionOrder, b.definitionOrder);
        EXPECT_EQ(a.displayIndex, b.displayIndex);
        EXPECT_EQ(a.isLongValue(), b.longValueOwnedPages.has_value());
    }
}

// Compares everything but page numbers; `pageNames` turns a table page of
// either file into its table name.
void expectSameIndexes(const TableDefinition& original, const TableDefinition& copy,
                       const std::function<std::string(uint32_t)>& originalName,
                       const std::function<std::string(uint32_t)>& copyName) {
    ASSERT_EQ(original.physicalIndexes.size(), copy.physicalIndexes.size());
    for (size_t n = 0; n < original.physicalIndexes.size(); ++n) {
        const PhysicalIndex& a = original.physicalIndexes[n];
        const PhysicalIndex& b = copy.physicalIndexes[n];
        EXPECT_EQ(a.flags, b.flags);
        ASSERT_EQ(a.columns.size(), b.columns.size());
        for (size_t c = 0; c < a.columns.size(); ++c) {
            EXPECT_EQ(a.columns[c].columnNumber, b.columns[c].columnNumber);
            EXPECT_EQ(a.columns[c].ascending, b.columns[c].ascending);
        }
        EXPECT_NE(b.rootPage, 0u);
    }
    ASSERT_EQ(original.indexes.size(), copy.indexes.size());
    for (size_t n = 0; n < original.indexes.size(); ++n) {
        const LogicalIndex& a = original.indexes[n];
        const LogicalIndex& b = copy.indexes[n];
        SCOPED_TRACE("index " + a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.number, b.number);
        EXPECT_EQ(a.physicalIndex, b.physicalIndex);
        EXPECT_EQ(a.kindCode, b.kindCode);
        EXPECT_EQ(a.relatedTableType, b.relatedTableType);
        EXPECT_EQ(a.relatedIndex, b.relatedIndex);
        EXPECT_EQ(a.cascadeUpdates, b.cascadeUpdates);
        EXPECT_EQ(a.cascadeDeletes, b.cascadeDeletes);
        EXPECT_EQ(a.cascadeSetNull, b.cascadeSetNull);
        if (a.relatedTablePage != 0) {
            EXPECT_EQ(originalName(a.relatedTablePage), copyName(b.relatedTablePage));
        }
    }
}

// Catalog objects are compared by name and type; table ids must name the
// table's definition page in each file.
void expectSameCatalog(const JetFile& original, const JetFile& copy) {
    const auto& a = original.catalog().objects();
    const auto& b = copy.catalog().objects();
    ASSERT_EQ(a.size(), b.size());
    for (size_t n = 0; n < a.size(); ++n) {
        SCOPED_TRACE("catalog object " + a[n].name);
        EXPECT_EQ(a[n].name, b[n].name);
        EXPECT_EQ(a[n].type, b[n].type);
        EXPECT_EQ(a[n].parentId, b[n].parentId);
        EXPECT_EQ(a[n].flags, b[n].flags);
        EXPECT_EQ(a[n].dateCreate, b[n].dateCreate);
        EXPECT_EQ(a[n].dateUpdate, b[n].dateUpdate);
        EXPECT_EQ(a[n].database, b[n].database);
        EXPECT_EQ(a[n].connect, b[n].connect);
        EXPECT_EQ(a[n].lvProp, b[n].lvProp);  // the properties, byte for byte
        if (!a[n].isTable()) {
            EXPECT_EQ(a[n].id, b[n].id);
        }
    }
}

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

void expectSameDatabase(const JetFile& original, const JetFile& copy, const MovedIds& moved = {}) {
    ASSERT_EQ(original.tableNames(true), copy.tableNames(true));
    expectSameCatalog(original, copy);
    auto nameIn = [](const JetFile& file) {
        return [&file](uint32_t page) {
            for (const CatalogObject* table : file.catalog().tables(true)) {
                if (table->tablePage() == page) {
                    return table->name;
                }
            }
            return std::string("(no table at page ") + std::to_string(page) + ")";
        };
    };
    for (const std::string& name : original.tableNames(true)) {
        SCOPED_TRACE("table " + name);
        auto a = original.table(name);
        auto b = copy.table(name);
        EXPECT_EQ(a->tableType, b->tableType);
        EXPECT_EQ(a->maxColumns, b->maxColumns);
        expectSameColumns(*a, *b);
        expectSameIndexes(*a, *b, nameIn(original), nameIn(copy));
        std::vector<std::vector<Value>> rows = allRows(original, name);
        EXPECT_EQ(b->rowCount, rows.size());
        EXPECT_GE(b->lastAutoNumber, a->lastAutoNumber);
        std::vector<std::vector<Value>> copied = allRows(copy, name);
        ASSERT_EQ(rows.size(), copied.size());
        for (size_t n = 0; n < rows.size(); ++n) {
            ASSERT_EQ(rows[n].size(), copied[n].size());
            for (size_t c = 0; c < rows[n].size(); ++c) {
                Value expected = rows[n][c];
                auto* id = std::get_if<int64_t>(&expected);
                if (id && moved.count(*id) && holdsObjectIds(name, a->columns[c].name)) {
                    *id = moved.at(*id);
                }
                EXPECT_EQ(expected, copied[n][c])
                    << "row " << n << " column " << a->columns[c].name << ": "
                    << describe(rows[n][c]) << " became " << describe(copied[n][c]);
            }
        }
    }

    std::vector<Relationship> relationships = readRelationships(original);
    std::vector<Relationship> copiedRelationships = readRelationships(copy);
    ASSERT_EQ(relationships.size(), copiedRelationships.size());
    for (size_t n = 0; n < relationships.size(); ++n) {
        EXPECT_EQ(relationships[n].name, copiedRelationships[n].name);
        EXPECT_EQ(relationships[n].table, copiedRelationships[n].table);
        EXPECT_EQ(relationships[n].referencedTable, copiedRelationships[n].referencedTable);
        EXPECT_EQ(relationships[n].columns, copiedRelationships[n].columns);
        EXPECT_EQ(relationships[n].referencedColumns, copiedRelationships[n].referencedColumns);
        EXPECT_EQ(relationships[n].flags, copiedRelationships[n].flags);
    }
    std::vector<SavedQuery> queries = readSavedQueries(original);
    std::vector<SavedQuery> copiedQueries = readSavedQueries(copy);
    ASSERT_EQ(queries.size(), copiedQueries.size());
    for (size_t n = 0; n < queries.size(); ++n) {
        EXPECT_EQ(queries[n].name, copiedQueries[n].name);
        EXPECT_EQ(queries[n].sql, copiedQueries[n].sql);
        EXPECT_EQ(queries[n].problem, copiedQueries[n].problem);
    }
}

// ---- Indexes: the rewritten file's entries stand for the same rows ----

// An entry with its row's values in place of the row pointer, which the
// rewrite changes.
using KeyedRow = std::pair<std::vector<uint8_t>, std::string>;

std::map<RowPointer, std::vector<Value>> rowsByPointer(const JetFile& file,
                                                       const std::string& table) {
    std::map<RowPointer, std::vector<Value>> rows;
    TableReader reader = file.readTable(table);
    while (auto row = reader.next()) {
        rows.emplace(row->id, std::move(row->values));
    }
    return rows;
}

std::string rowText(const std::vector<Value>& values) {
    std::string text;
    for (const Value& value : values) {
        text += describe(value) + "|";
    }
    return text;
}

// The entries of one index in tree order. Values naming moved tables are
// given their new ids, and the key of such a row is the one its new values
// give: the rewrite changed the row, not the index.
std::vector<KeyedRow> keyedEntries(const JetFile& file, const TableDefinition& table,
                                   const PhysicalIndex& index, const MovedIds& moved) {
    std::map<RowPointer, std::vector<Value>> rows = rowsByPointer(file, table.name);
    std::vector<KeyedRow> keyed;
    for (IndexEntry& entry : readIndexEntries(file.pages(), index.rootPage, table.page)) {
        auto row = rows.find(entry.row);
        if (row == rows.end()) {
            ADD_FAILURE() << "an entry points at " << entry.row.toString()
                          << ", which holds no row of " << table.name;
            continue;
        }
        std::vector<Value> values = row->second;
        bool renumbered = false;
        for (size_t c = 0; c < values.size(); ++c) {
            auto* id = std::get_if<int64_t>(&values[c]);
            if (id && moved.count(*id) && moved.at(*id) != *id &&
                holdsObjectIds(table.name, table.columns[c].name)) {
                *id = moved.at(*id);
                renumbered = true;
            }
        }
        if (renumbered) {
            std::vector<KeyColumn> columns = keyColumnsOf(table, index);
            entry.key = encodeIndexKey(columns, keyValuesOf(columns, values));
        }
        keyed.emplace_back(std::move(entry.key), rowText(values));
    }
    return keyed;
}

size_t distinctKeys(const std::vector<KeyedRow>& entries) {
    std::set<std::vector<uint8_t>> keys;
    for (const KeyedRow& entry : entries) {
        keys.insert(entry.first);
    }
    return keys.size();
}

void expectSameIndexEntries(const JetFile& original, const JetFile& copy, const MovedIds& moved) {
    for (const std::string& name : original.tableNames(true)) {
        auto a = original.table(name);
        auto b = copy.table(name);
        ASSERT_EQ(a->physicalIndexes.size(), b->physicalIndexes.size()) << name;
        for (size_t n = 0; n < a->physicalIndexes.size(); ++n) {
            SCOPED_TRACE("table " + name + ", " + describeIndex(*a, a->physicalIndexes[n]));
            std::vector<KeyedRow> expected =
                keyedEntries(original, *a, a->physicalIndexes[n], moved);
            std::vector<KeyedRow> actual = keyedEntries(copy, *b, b->physicalIndexes[n], {});
            EXPECT_TRUE(std::is_sorted(
                actual.begin(), actual.end(),
                [](const KeyedRow& x, const KeyedRow& y) { return x.first < y.first; }))
                << "the rewritten index is not in key order";
            EXPECT_EQ(b->physicalIndexes[n].entryCount, distinctKeys(actual));
            // Rows sharing a key follow their row pointers, which differ.
            std::sort(expected.begin(), expected.end());
            std::sort(actual.begin(), actual.end());
            EXPECT_EQ(actual, expected);
        }
    }
}

class WriterRoundTrip : public ::testing::TestWithParam<FixtureInfo> {
protected:
    void SetUp() override {
        ORVDB_REQUIRE_FIXTURE(GetParam().file);
        original_ = testing::fixturePath(GetParam().file);
        copy_ = dir_.path() / "copy.mdb";
    }

    JetFile openOriginal() { return JetFile::open(original_, GetParam().password); }
    JetFile writeAndReopen(const WriteOptions& options = {}) {
        JetFile original = openOriginal();
        writeJetFile(imageFromFile(original), copy_, options);
        return JetFile::open(copy_, GetParam().password);
    }
    std::optional<std::string> mdb(const std::string& command, const std::filesystem::path& file) {
        return testing::runCommand(command + " " + testing::shellQuote(file.string()) +
                                   " 2>/dev/null");
    }

    testing::TempDir dir_;
    std::filesystem::path original_;
    std::filesystem::path copy_;
};

TEST_P(WriterRoundTrip, WrittenFileReadsAsTheOriginal) {
    JetFile copy = writeAndReopen();
    JetFile original = openOriginal();
    EXPECT_EQ(copy.header().password, original.header().password);
    // Tables keep their pages unless those lie beyond the packed file.
    MovedIds moved = movedIds(original, copy);
    for (const auto& [before, after] : moved) {
        if (before < copy.pageCount()) {
            EXPECT_EQ(before, after);
        }
    }
    expectSameDatabase(original, copy, moved);
}

TEST_P(WriterRoundTrip, MovedTablesKeepTheirReferences) {
    // Packed in reverse order, the tables land on other pages than before.
    DatabaseImage image = imageFromFile(openOriginal());
    std::reverse(image.tables.begin(), image.tables.end());
    WriteOptions options;
    options.keepTablePages = false;
    writeJetFile(image, copy_, options);
    JetFile copy = JetFile::open(copy_, GetParam().password);
    JetFile original = openOriginal();
    MovedIds moved = movedIds(original, copy);
    EXPECT_TRUE(std::any_of(moved.begin(), moved.end(),
                            [](const auto& entry) { return entry.first != entry.second; }));
    expectSameDatabase(original, copy, moved);
    for (const CatalogObject* table : copy.catalog().tables(true)) {
        EXPECT_EQ(copy.table(table->name)->page, static_cast<uint32_t>(table->id));
    }
}

TEST_P(WriterRoundTrip, MdbtoolsSeesTheSameTablesAndRows) {
    if (!testing::haveCommand("mdb-export") || !testing::haveCommand("mdb-tables")) {
        GTEST_SKIP() << "mdbtools (mdb-tables, mdb-export) is not installed; the comparison "
                        "with it is skipped";
    }
    JetFile copy = writeAndReopen();
    // Sorted: mdbtools lists tables in the physical order of the catalog
    // rows, which an updated catalog row that moved to another page changes.
    auto tables = mdb("mdb-tables -S -1", original_);
    if (!tables) {
        GTEST_SKIP() << "mdbtools cannot read " << GetParam().file;
    }
    auto sortedLines = [](std::optional<std::string> text) {
        std::vector<std::string> lines;
        std::istringstream in(text.value_or(""));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(sortedLines(mdb("mdb-tables -S -1", copy_)), sortedLines(tables));
    for (const std::string& name : copy.tableNames(true)) {
        SCOPED_TRACE("table " + name);
        std::string command = "mdb-export -b hex " + testing::shellQuote(name);
        auto expected = mdb(command, original_);
        if (!expected) {
            continue;  // mdbtools cannot export it from the original either
        }
        EXPECT_EQ(mdb(command, copy_), expected);
    }
}

TEST_P(WriterRoundTrip, IndexesListTheSameRowsUnderTheSameKeys) {
    JetFile copy = writeAndReopen();
    JetFile original = openOriginal();
    expectSameIndexEntries(original, copy, movedIds(original, copy));
}

TEST_P(WriterRoundTrip, MovedTablesKeepTheirIndexEntries) {
    DatabaseImage image = imageFromFile(openOriginal());
    std::reverse(image.tables.begin(), image.tables.end());
    WriteOptions options;
    options.keepTablePages = false;
    writeJetFile(image, copy_, options);
    JetFile copy = JetFile::open(copy_, GetParam().password);
    JetFile original = openOriginal();
    expectSameIndexEntries(original, copy, movedIds(original, copy));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WriterRoundTrip, ::testing::ValuesIn(testing::knownFixtures()),
                         [](const auto& info) { return testing::fixtureTestName(info.param); });

}  // namespace
}  // namespace orvdb::jet
