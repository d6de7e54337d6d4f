// A table's object id is its definition page, while queries, forms and
// relationships keep ids of their own in MSysObjects. The writer must never
// give a table a page another object's Id already names, nor renumber that
// object's rows when a new table's image id happens to equal its Id.
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

std::vector<int64_t> permissionObjectIds(const JetFile& file) {
    std::vector<int64_t> ids;
    const TableDefinition& aces = *file.table("MSysACEs");
    size_t column = static_cast<size_t>(aces.findColumn("ObjectId") - aces.columns.data());
    for (const std::vector<Value>& row : testing::allRows(file, "MSysACEs")) {
        if (const auto* id = std::get_if<int64_t>(&row[column])) {
            ids.push_back(*id);
        }
    }
    return ids;
}

// The definition page a new table gets in a new database with nothing else.
uint32_t pageOfANewTable() {
    DatabaseImage image = newDatabaseImage();
    addTable(image, kImageTableId, 0);
    std::vector<uint8_t> bytes = buildJetFile(image, "probe.mdb");
    JetFile file = JetFile::openMemory(bytes, "probe.mdb");
    return file.catalog().findTable(kTable)->tablePage();
}

struct Collision {
    std::string name;
    // Ids are given relative to the page the table would take when free.
    bool queryAtTablePage;  // else the query takes kImageTableId
    bool tableIdIsPage;     // table id and preferred page: that page, else kImageTableId
};

void PrintTo(const Collision& collision, std::ostream* out) {
    *out << collision.name;
}

class WriterObjectIds : public ::testing::TestWithParam<Collision> {};

TEST_P(WriterObjectIds, QueryKeepsItsIdAndTableGetsAPageOfItsOwn) {
    const Collision& c = GetParam();
    const uint32_t freePage = pageOfANewTable();
    ASSERT_NE(freePage, kImageTableId);
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
    const CatalogObject* table = file.catalog().findTable(kTable);
    ASSERT_NE(table, nullptr);
    EXPECT_NE(table->id, queryId);
    EXPECT_LT(static_cast<uint32_t>(table->id), file.pageCount());

    // The table's row leads to its definition and data.
    TableReader reader = file.readTable(kTable);
    auto row = reader.next();
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(std::get<int64_t>(row->values[0]), 4711);

    std::map<int32_t, int> idUses;
    for (const CatalogObject& object : file.catalog().objects()) {
        EXPECT_EQ(++idUses[object.id], 1) << "MSysObjects Id " << object.id << " used twice";
    }
    std::vector<int64_t> permissions = permissionObjectIds(file);
    EXPECT_NE(std::find(permissions.begin(), permissions.end(), queryId), permissions.end())
        << "the query's permission row lost its object id";

    CheckReport report = checkJetFile(file);
    for (const CheckFinding& finding : report.findings) {
        ADD_FAILURE() << describe(finding);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Collisions, WriterObjectIds,
    ::testing::Values(Collision{"QueryIdIsTheNextFreePage", true, false},
                      Collision{"NewTableIdIsTheQueryId", false, false},
                      Collision{"TablePrefersThePageTheQueryIdNames", true, true}),
    [](const ::testing::TestParamInfo<Collision>& info) { return info.param.name; });

}  // namespace
}  // namespace orvdb::jet
