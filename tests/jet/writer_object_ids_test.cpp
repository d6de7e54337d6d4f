// A table's id is its definition page, while queries keep ids of their own:
// the writer must not give a table a page such an id names, nor renumber it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "jet/check/file_check.hpp"
#include "jet/fixture_support.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/new_database_image.hpp"

namespace orvdb::jet {
namespace {

constexpr uint32_t kImageTableId = 0x00F00001;
constexpr const char* kTable = "Orders";
constexpr const char* kQuery = "OpenOrders";

// A one-column table holding one row, with its MSysObjects row.
void addTable(DatabaseImage& image, uint32_t objectId, uint32_t preferredPage) {
    TableImage table;
    table.definition.name = kTable;
    table.definition.tableType = tdef::kUserTable;
    Column amount;
    amount.name = "Amount";
    amount.typeCode = static_cast<uint8_t>(ColumnType::Long);
    table.definition.columns.push_back(amount);
    assignColumnLayout(table.definition);
    table.rows.push_back({int64_t{4711}});
    table.objectId = objectId;
    table.preferredPage = preferredPage;
    image.tables.push_back(std::move(table));
    testing::addCatalogRow(image, objectId, kTable, ObjectType::Table);
}

// A permission row of MSysACEs naming `objectId`, copied from an existing one.
void addPermission(DatabaseImage& image, int64_t objectId) {
    TableImage& aces = *image.findTable("MSysACEs");
    ASSERT_FALSE(aces.rows.empty()) << "a new database carries default permissions";
    std::vector<Value> row = aces.rows.front();
    const TableDefinition& definition = aces.definition;
    row[static_cast<size_t>(definition.findColumn("ObjectId") - definition.columns.data())] =
        objectId;
    aces.rows.push_back(std::move(row));
}

// The definition page a new table gets in a new database with nothing else.
uint32_t pageOfANewTable() {
    DatabaseImage image = newDatabaseImage();
    addTable(image, kImageTableId, 0);
    std::vector<uint8_t> bytes = buildJetFile(image, "probe.mdb");
    JetFile file = JetFile::openMemory(bytes, "probe.mdb");
    return file.catalog().findTable(kTable)->tablePage();
}

TEST(WriterObjectIds, QueryKeepsItsIdAndTableGetsAPageOfItsOwn) {
    const uint32_t freePage = pageOfANewTable();
    ASSERT_NE(freePage, kImageTableId);
    // Ids are given relative to the page the table would take when free.
    struct Collision {
        const char* what;
        bool queryAtTablePage;  // else the query takes kImageTableId
        bool tableIdIsPage;     // table id and preferred page: that page, else kImageTableId
    };
    for (const Collision& c :
         {Collision{"the query id is the next free page", true, false},
          Collision{"the new table's id is the query id", false, false},
          Collision{"the table prefers the page the query id names", true, true}}) {
        SCOPED_TRACE(c.what);
        const int64_t queryId = c.queryAtTablePage ? freePage : kImageTableId;
        DatabaseImage image = newDatabaseImage();
        testing::addCatalogRow(image, queryId, kQuery, ObjectType::Query);
        addPermission(image, queryId);
        if (c.tableIdIsPage) {
            addTable(image, freePage, freePage);
        } else {
            addTable(image, kImageTableId, 0);
        }

        std::vector<uint8_t> bytes = buildJetFile(image, "ids.mdb");
        JetFile file = JetFile::openMemory(bytes, "ids.mdb");

        const CatalogObject* query = file.catalog().find(kQuery, ObjectType::Query);
        ASSERT_NE(query, nullptr);
        EXPECT_EQ(query->id, queryId);
        // The table's id leads to its definition and data.
        EXPECT_EQ(testing::allRows(file, kTable),
                  (std::vector<std::vector<Value>>{{int64_t{4711}}}));
        EXPECT_NE(file.catalog().findTable(kTable)->id, queryId);

        std::map<int32_t, int> idUses;
        for (const CatalogObject& object : file.catalog().objects()) {
            EXPECT_EQ(++idUses[object.id], 1) << "MSysObjects Id " << object.id << " used twice";
        }
        const TableDefinition& aces = *file.table("MSysACEs");
        const auto objectId =
            static_cast<size_t>(aces.findColumn("ObjectId") - aces.columns.data());
        const auto permissions = testing::allRows(file, "MSysACEs");
        EXPECT_TRUE(std::any_of(permissions.begin(), permissions.end(), [&](const auto& row) {
            return row[objectId] == Value(queryId);
        })) << "the query's permission row lost its object id";

        CheckReport report = checkJetFile(file);
        for (const CheckFinding& finding : report.findings) {
            ADD_FAILURE() << describe(finding);
        }
    }
}

}  // namespace
}  // namespace orvdb::jet
