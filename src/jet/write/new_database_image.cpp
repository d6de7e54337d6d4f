#include "jet/write/new_database_image.hpp"

#include <cstring>

#include "jet/format/codes.hpp"
#include "jet/format/tdef.hpp"
#include "jet/read/catalog_rows.hpp"
#include "jet/write/header_writer.hpp"

namespace orvdb::jet {

namespace {

// What Jet 4.0 wrote into a database it created (through ADOX): the system
// tables' definitions and rows. Values without a known meaning (the offsets
// Jet leaves in variable-length columns, the owner SIDs) are copied as they
// are, so a new file looks like one Jet made.
struct SystemColumn {
    const char* name;
    ColumnType type;
    uint16_t number;
    uint16_t variableIndex;
    uint16_t definitionOrder;
    uint8_t flags;
    uint16_t length;
    uint16_t fixedOffset;
};

struct SystemIndex {
    uint8_t flags;
    std::vector<uint16_t> columns;
};

struct SystemLogicalIndex {
    const char* name;
    uint32_t number;
    uint32_t physicalIndex;
    uint8_t kind;
};

struct SystemTable {
    const char* name;
    uint32_t page;
    uint16_t variableColumns;
    std::vector<SystemColumn> columns;
    std::vector<SystemIndex> physicalIndexes;
    std::vector<SystemLogicalIndex> indexes;
};

using T = ColumnType;

const std::vector<SystemTable>& systemTables() {
    static const std::vector<SystemTable> tables = {
        {"MSysObjects",
         2,
         11,
         {{"Id", T::Long, 0, 0, 6, 0x13, 4, 0},
          {"ParentId", T::Long, 1, 0, 13, 0x13, 4, 4},
          {"Name", T::Text, 2, 0, 11, 0x12, 510, 100},
          {"Type", T::Integer, 3, 1, 16, 0x13, 2, 8},
          {"DateCreate", T::DateTime, 4, 1, 2, 0x13, 8, 10},
          {"DateUpdate", T::DateTime, 5, 1, 3, 0x13, 8, 18},
          {"Owner", T::Binary, 6, 1, 12, 0x32, 510, 256},
          {"Flags", T::Long, 7, 2, 4, 0x13, 4, 26},
          {"Database", T::Memo, 8, 2, 1, 0x12, 0, 0},
          {"Connect", T::Memo, 9, 3, 0, 0x12, 0, 0},
          {"ForeignName", T::Text, 10, 4, 5, 0x12, 510, 68},
          {"RmtInfoShort", T::Binary, 11, 5, 15, 0x12, 510, 106},
          {"RmtInfoLong", T::OLE, 12, 6, 14, 0x12, 0, 0},
          {"Lv", T::OLE, 13, 7, 7, 0x12, 0, 0},
          {"LvProp", T::OLE, 14, 8, 10, 0x12, 0, 24832},
          {"LvModule", T::OLE, 15, 9, 9, 0x12, 0, 65535},
          {"LvExtra", T::OLE, 16, 10, 8, 0x12, 0, 1028}},
         {{0x81, {1, 2}}, {0x81, {0}}},
         {{"Id", 1, 1, 1}, {"ParentIdName", 0, 0, 0}}},
        {"MSysACEs",
         3,
         1,
         {{"ObjectId", T::Long, 0, 0, 2, 0x13, 4, 0},
          {"SID", T::Binary, 1, 0, 3, 0x32, 510, 7},
          {"ACM", T::Long, 2, 1, 0, 0x13, 4, 4},
          {"FInheritable", T::Boolean, 3, 1, 1, 0x13, 1, 0}},
         {{0x88, {0}}},
         {{"ObjectId", 0, 0, 0}}},
        {"MSysQueries",
         4,
         4,
         {{"ObjectId", T::Long, 0, 0, 6, 0x13, 4, 0},
          {"Attribute", T::Byte, 1, 0, 0, 0x13, 1, 4},
          {"Order", T::Binary, 2, 0, 7, 0x12, 510, 65024},
          {"Name1", T::Text, 3, 1, 4, 0x12, 510, 65024},
          {"Name2", T::Text, 4, 2, 5, 0x12, 510, 65024},
          {"Expression", T::Memo, 5, 3, 1, 0x12, 0, 1024},
          {"Flag", T::Integer, 6, 4, 2, 0x13, 2, 5},
          {"LvExtra", T::Long, 7, 4, 3, 0x13, 4, 7}},
         {{0x81, {0, 1, 2}}},
         {{"ObjectIdAttribute", 0, 0, 1}}},
        {"MSysRelationships",
         5,
         5,
         {{"szRelationship", T::Text, 0, 0, 7, 0x12, 510, 0},
          {"grbit", T::Long, 1, 1, 1, 0x13, 4, 0},
          {"ccolumn", T::Long, 2, 1, 0, 0x13, 4, 4},
          {"icolumn", T::Long, 3, 1, 2, 0x13, 4, 8},
          {"szObject", T::Text, 4, 1, 4, 0x12, 510, 0},
          {"szColumn", T::Text, 5, 2, 3, 0x12, 510, 0},
          {"szReferencedObject", T::Text, 6, 3, 6, 0x12, 510, 0},
          {"szReferencedColumn", T::Text, 7, 4, 5, 0x12, 510, 0}},
         {{0x82, {0}}, {0x82, {4}}, {0x82, {6}}},
         {{"szObject", 1, 1, 0}, {"szReferencedObject", 2, 2, 0}, {"szRelationship", 0, 0, 0}}},
    };
    return tables;
}

// When Jet created the template's catalog rows, 2015-11-21 22:40:31 (a
// moment after the date in its header).
constexpr double kTemplateCatalogDate = 42329.944803229169;
const Bytes kEngineOwner = {0x65, 0x89};
const Bytes kAdminsSid = {0x64, 0x8B};
const Bytes kAdminSid = {0x65, 0x8E};
const Bytes kUsersSid = {0x65, 0x8B};

TableImage tableFrom(const SystemTable& source) {
    TableImage table;
    TableDefinition& definition = table.definition;
    definition.name = source.name;
    definition.tableType = tdef::kSystemTable;
    definition.maxColumns = static_cast<uint16_t>(source.columns.size());
    definition.variableColumnCount = source.variableColumns;
    for (const SystemColumn& entry : source.columns) {
        Column column;
        column.name = entry.name;
        column.typeCode = static_cast<uint8_t>(entry.type);
        column.number = entry.number;
        column.variableIndex = entry.variableIndex;
        column.definitionOrder = entry.definitionOrder;
        column.flags = entry.flags;
        column.length = entry.length;
        column.fixedOffset = entry.fixedOffset;
        column.sortOrder = kGeneralSortOrder;
        definition.columns.push_back(std::move(column));
    }
    for (const SystemIndex& entry : source.physicalIndexes) {
        PhysicalIndex index;
        index.number = static_cast<uint32_t>(definition.physicalIndexes.size());
        index.flags = entry.flags;
        for (uint16_t column : entry.columns) {
            index.columns.push_back(IndexColumn{column, true});
        }
        definition.physicalIndexes.push_back(std::move(index));
    }
    for (const SystemLogicalIndex& entry : source.indexes) {
        LogicalIndex index;
        index.name = entry.name;
        index.number = entry.number;
        index.physicalIndex = entry.physicalIndex;
        index.kindCode = entry.kind;
        definition.indexes.push_back(std::move(index));
    }
    table.objectId = source.page;
    table.preferredPage = source.page;
    return table;
}

std::vector<Value> catalogRow(int64_t id, int64_t parent, const char* name, ObjectType type,
                              double date, const Bytes& owner) {
    std::vector<Value> row(17);
    row[0] = id;
    row[1] = parent;
    row[2] = std::string(name);
    row[3] = int64_t{typeCode(type)};
    row[4] = DateTime{date};
    row[5] = DateTime{date};
    row[6] = owner;
    row[7] = int64_t{static_cast<int32_t>(kJetSystemTableFlags)};
    return row;
}

std::vector<Value> permission(int64_t object, const Bytes& sid, int64_t rights, bool inherits) {
    return {object, sid, rights, inherits};
}

}  // namespace

DatabaseImage newDatabaseImage(std::optional<double> creationDate) {
    DatabaseImage image;
    image.headerPage = newDatabaseHeaderPage(creationDate);
    for (const SystemTable& table : systemTables()) {
        image.tables.push_back(tableFrom(table));
    }
    double date = creationDate.value_or(kTemplateCatalogDate);
    const int64_t tables = kTablesContainerId;
    const int64_t databases = kDatabasesContainerId;
    const int64_t relationships = kRelationshipsContainerId;
    image.tables[0].rows = {
        catalogRow(tables, kContainersId, "Tables", ObjectType::Container, date, kEngineOwner),
        catalogRow(databases, kContainersId, "Databases", ObjectType::Container, date,
                   kEngineOwner),
        catalogRow(relationships, kContainersId, "Relationships", ObjectType::Container, date,
                   kEngineOwner),
        catalogRow(kDatabaseObjectId, databases, "MSysDb", ObjectType::Database, date, kAdminsSid),
        catalogRow(2, tables, "MSysObjects", ObjectType::Table, date, kEngineOwner),
        catalogRow(3, tables, "MSysACEs", ObjectType::Table, date, kEngineOwner),
        catalogRow(4, tables, "MSysQueries", ObjectType::Table, date, kEngineOwner),
        catalogRow(5, tables, "MSysRelationships", ObjectType::Table, date, kEngineOwner),
    };
    image.tables[1].rows = {
        permission(2, kAdminsSid, 393216, false),
        permission(3, kAdminsSid, 393216, false),
        permission(4, kAdminsSid, 393216, false),
        permission(5, kAdminsSid, 917504, false),
        permission(tables, kAdminSid, 983294, true),
        permission(tables, kAdminsSid, 393217, false),
        permission(relationships, kAdminSid, 983294, true),
        permission(relationships, kAdminsSid, 393217, false),
        permission(databases, kAdminsSid, 393216, false),
        permission(kDatabaseObjectId, kAdminsSid, 393230, false),
        permission(kDatabaseObjectId, kUsersSid, 14, false),
        permission(4, kUsersSid, 20, false),
        permission(5, kUsersSid, 20, false),
        permission(2, kUsersSid, 20, false),
        permission(tables, kUsersSid, 1048319, true),
        permission(relationships, kUsersSid, 1048575, true),
    };
    return image;
}

}  // namespace orvdb::jet
