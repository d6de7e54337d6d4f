#include "data/engine/system_tables.hpp"

#include "data/engine/saved_query_rows.hpp"

#include "data/engine/catalog.hpp"
#include "data/engine/sqlite_util.hpp"

namespace orvdb::engine {

namespace {

ColumnDef col(const char* name, JetType type, int size = 0) {
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.size = size ? size : jetFixedSize(type);
    return c;
}

}  // namespace

void createSystemTables(Catalog& catalog, sqlite3* db) {
    using T = JetType;
    catalog.createTable(
        "MSysObjects",
        {col("Id", T::Long), col("ParentId", T::Long), col("Name", T::Text, 255),
         col("Type", T::Integer), col("DateCreate", T::DateTime), col("DateUpdate", T::DateTime),
         col("Owner", T::Binary, 255), col("Flags", T::Long), col("Database", T::Memo),
         col("Connect", T::Memo), col("ForeignName", T::Text, 255),
         col("RmtInfoShort", T::Binary, 255), col("RmtInfoLong", T::OLE), col("Lv", T::OLE),
         col("LvProp", T::OLE), col("LvModule", T::OLE), col("LvExtra", T::OLE)},
        {}, true);
    catalog.createTable("MSysACEs",
                        {col("ObjectId", T::Long), col("SID", T::Binary, 255), col("ACM", T::Long),
                         col("FInheritable", T::Boolean)},
                        {}, true);
    catalog.createTable(
        "MSysQueries",
        {col("ObjectId", T::Long), col("Attribute", T::Byte), col("Order", T::Binary, 255),
         col("Name1", T::Text, 255), col("Name2", T::Text, 255), col("Expression", T::Memo),
         col("Flag", T::Integer), col("LvExtra", T::Long)},
        {}, true);
    catalog.createTable(
        "MSysRelationships",
        {col("szRelationship", T::Text, 255), col("grbit", T::Long), col("ccolumn", T::Long),
         col("icolumn", T::Long), col("szObject", T::Text, 255), col("szColumn", T::Text, 255),
         col("szReferencedObject", T::Text, 255), col("szReferencedColumn", T::Text, 255)},
        {}, true);
    Stmt s(db,
           "INSERT INTO MSysObjects (Id, ParentId, Name, Type, DateCreate, DateUpdate, Flags) "
           "VALUES (?, ?, ?, ?, julianday('now','localtime') - 2415018.5, "
           "julianday('now','localtime') - 2415018.5, ?)");
    struct Row {
        int64_t id, parent;
        const char* name;
        int type;
    };
    const Row rows[] = {
        {kTablesContainerId, kContainersParentId, "Tables", 3},
        {kDatabasesContainerId, kContainersParentId, "Databases", 3},
        {kRelationshipsContainerId, kContainersParentId, "Relationships", 3},
        {0x10000000, kDatabasesContainerId, "MSysDb", 2},
    };
    for (const auto& r : rows) {
        s.reset();
        s.bind(1, r.id).bind(2, r.parent).bind(3, r.name).bind(4, int64_t{r.type});
        s.bind(5, int64_t{static_cast<int32_t>(0x80000000u)});
        s.run();
    }
}

void writeQueryRows(Catalog& catalog, sqlite3* db, int64_t objectId, const std::string& sql) {
    if (!catalog.findTableInfo("MSysQueries"))
        return;
    Stmt s(db,
           "INSERT INTO MSysQueries (ObjectId, Attribute, Expression, Flag, Name1, Name2) "
           "VALUES (?, ?, ?, ?, ?, ?)");
    auto bindText = [&](int index, const std::optional<std::string>& value) {
        if (value)
            s.bind(index, std::string_view(*value));
        else
            s.bindNull(index);
    };
    for (const SavedQueryRow& row : savedQueryRows(sql)) {
        s.reset();
        s.bind(1, objectId).bind(2, int64_t{row.attribute});
        bindText(3, row.expression);
        if (row.flag)
            s.bind(4, int64_t{*row.flag});
        else
            s.bindNull(4);
        bindText(5, row.name1);
        bindText(6, row.name2);
        s.run();
    }
}

}  // namespace orvdb::engine
