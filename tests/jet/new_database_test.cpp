// A new database must be what the Jet 4.0 engine itself creates: the same
// system tables, definitions, catalog rows and permissions as the
// Jet-created fixture.
#include <gtest/gtest.h>

#include "jet/fixture_support.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/image_from_file.hpp"
#include "jet/write/new_database_image.hpp"

namespace orvdb::jet {
namespace {

constexpr const char* kJetCreated = "adox_jet4.mdb";

void expectSameTable(const TableImage& expected, const TableImage& actual) {
    SCOPED_TRACE("table " + expected.name());
    const TableDefinition& a = expected.definition;
    const TableDefinition& b = actual.definition;
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.page, b.page);
    EXPECT_EQ(a.tableType, b.tableType);
    EXPECT_EQ(a.maxColumns, b.maxColumns);
    EXPECT_EQ(a.variableColumnCount, b.variableColumnCount);
    ASSERT_EQ(a.columns.size(), b.columns.size());
    for (size_t n = 0; n < a.columns.size(); ++n) {
        const Column& x = a.columns[n];
        const Column& y = b.columns[n];
        SCOPED_TRACE("column " + x.name);
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.typeCode, y.typeCode);
        EXPECT_EQ(x.number, y.number);
        EXPECT_EQ(x.variableIndex, y.variableIndex);
        EXPECT_EQ(x.definitionOrder, y.definitionOrder);
        EXPECT_EQ(x.displayIndex, y.displayIndex);
        EXPECT_EQ(x.flags, y.flags);
        EXPECT_EQ(x.extendedFlags, y.extendedFlags);
        EXPECT_EQ(x.length, y.length);
        EXPECT_EQ(x.fixedOffset, y.fixedOffset);
        EXPECT_EQ(x.sortOrder, y.sortOrder);
    }
    ASSERT_EQ(a.physicalIndexes.size(), b.physicalIndexes.size());
    for (size_t n = 0; n < a.physicalIndexes.size(); ++n) {
        EXPECT_EQ(a.physicalIndexes[n].flags, b.physicalIndexes[n].flags);
        ASSERT_EQ(a.physicalIndexes[n].columns.size(), b.physicalIndexes[n].columns.size());
        for (size_t c = 0; c < a.physicalIndexes[n].columns.size(); ++c) {
            EXPECT_EQ(a.physicalIndexes[n].columns[c].columnNumber,
                      b.physicalIndexes[n].columns[c].columnNumber);
        }
    }
    ASSERT_EQ(a.indexes.size(), b.indexes.size());
    for (size_t n = 0; n < a.indexes.size(); ++n) {
        EXPECT_EQ(a.indexes[n].name, b.indexes[n].name);
        EXPECT_EQ(a.indexes[n].number, b.indexes[n].number);
        EXPECT_EQ(a.indexes[n].physicalIndex, b.indexes[n].physicalIndex);
        EXPECT_EQ(a.indexes[n].kindCode, b.indexes[n].kindCode);
    }
    EXPECT_EQ(expected.rows, actual.rows);
}

TEST(NewDatabase, IsWhatJetCreates) {
    ORVDB_REQUIRE_FIXTURE(kJetCreated);
    testing::TempDir dir;
    std::filesystem::path target = dir.path() / "new.mdb";
    writeJetFile(newDatabaseImage(), target);

    DatabaseImage expected = imageFromFile(JetFile::open(testing::fixturePath(kJetCreated)));
    DatabaseImage written = imageFromFile(JetFile::open(target));
    EXPECT_EQ(written.headerPage, expected.headerPage);
    ASSERT_EQ(written.tables.size(), expected.tables.size());
    for (size_t n = 0; n < expected.tables.size(); ++n) {
        expectSameTable(expected.tables[n], written.tables[n]);
    }
    if (testing::haveCommand("mdb-schema")) {
        auto schema = [](const std::filesystem::path& file) {
            return testing::runCommand("mdb-schema " + testing::shellQuote(file.string()) +
                                       " 2>/dev/null");
        };
        EXPECT_EQ(schema(target), schema(testing::fixturePath(kJetCreated)));
    }
}

TEST(NewDatabase, CarriesItsCreationDate) {
    const double date = 46000.5;
    testing::TempDir dir;
    std::filesystem::path target = dir.path() / "dated.mdb";
    writeJetFile(newDatabaseImage(date), target);
    JetFile file = JetFile::open(target);
    EXPECT_EQ(file.header().creationDate, date);
    EXPECT_TRUE(file.header().password.empty());
    for (const CatalogObject& object : file.catalog().objects()) {
        EXPECT_EQ(object.dateCreate, date) << object.name;
    }
    EXPECT_EQ(
        file.tableNames(true),
        (std::vector<std::string>{"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"}));
    EXPECT_TRUE(file.tableNames(false).empty());
}

}  // namespace
}  // namespace orvdb::jet
