// The catalog's own tables in the working store (_orv_meta, _orv_tables,
// _orv_columns, _orv_indexes, _orv_views): creating them, registering what a
// mirrored Jet file brings, saving a table's definition and reading the
// whole model back.
#include "engine/catalog/catalog.hpp"

#include "engine/catalog/catalog_sql.hpp"

#include <algorithm>

namespace orvdb::engine {

namespace {

constexpr std::string_view kHiddenSchema = R"sql(
CREATE TABLE _orv_meta(key TEXT PRIMARY KEY, value);
CREATE TABLE _orv_tables(id INTEGER PRIMARY KEY, name TEXT NOT NULL, stored TEXT NOT NULL,
  system INTEGER NOT NULL, last_auto INTEGER NOT NULL DEFAULT 0, position INTEGER NOT NULL);
CREATE TABLE _orv_columns(table_id INTEGER NOT NULL, ordinal INTEGER NOT NULL, name TEXT NOT NULL,
  type INTEGER NOT NULL, size INTEGER NOT NULL, auto INTEGER NOT NULL, required INTEGER NOT NULL,
  allow_zero INTEGER NOT NULL, compressed INTEGER NOT NULL, precision INTEGER NOT NULL,
  scale INTEGER NOT NULL, default_expr TEXT, seed INTEGER NOT NULL, step INTEGER NOT NULL,
  PRIMARY KEY(table_id, ordinal));
CREATE TABLE _orv_indexes(table_id INTEGER NOT NULL, ordinal INTEGER NOT NULL, name TEXT NOT NULL,
  columns TEXT NOT NULL, flags INTEGER NOT NULL, PRIMARY KEY(table_id, ordinal));
CREATE TABLE _orv_views(id INTEGER PRIMARY KEY, name TEXT NOT NULL, sql TEXT NOT NULL,
  kind INTEGER NOT NULL DEFAULT 1);
INSERT INTO _orv_meta VALUES ('format', 1), ('next_id', 16);
)sql";

// The first id handed out in a store that has never handed one out.
constexpr int64_t kFirstObjectId = 16;

// Index flags as stored in _orv_indexes.flags.
enum : int {
    kIndexUnique = 1,
    kIndexPrimary = 2,
    kIndexIgnoreNulls = 4,
    kIndexRequired = 8,
    kIndexForeign = 16,
};

// _orv_indexes.columns: "column\x1fA" per column, '\x1e' between columns
// (A ascending, D descending).
constexpr char kColumnSeparator = '\x1e';
constexpr char kOrderSeparator = '\x1f';

std::string encodeIndexColumns(const IndexDef& index) {
    std::string out;
    for (const auto& indexColumn : index.columns) {
        if (!out.empty()) {
            out += kColumnSeparator;
        }
        out += indexColumn.column;
        out += kOrderSeparator;
        out += indexColumn.descending ? 'D' : 'A';
    }
    return out;
}

std::vector<IndexColumn> decodeIndexColumns(const std::string& text) {
    std::vector<IndexColumn> out;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        size_t end = text.find(kColumnSeparator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string part = text.substr(start, end - start);
        const size_t orderAt = part.rfind(kOrderSeparator);
        IndexColumn indexColumn;
        indexColumn.column = part.substr(0, orderAt);
        indexColumn.descending = orderAt != std::string::npos && part.substr(orderAt + 1) == "D";
        out.push_back(std::move(indexColumn));
        start = end + 1;
    }
    return out;
}

int indexFlags(const IndexDef& index) {
    return (index.unique ? kIndexUnique : 0) | (index.primary ? kIndexPrimary : 0) |
           (index.ignoreNulls ? kIndexIgnoreNulls : 0) | (index.required ? kIndexRequired : 0) |
           (index.foreignKey ? kIndexForeign : 0);
}

}  // namespace

bool Catalog::hasCatalog(sqlite3* db) {
    Stmt query(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name='_orv_tables'");
    return query.step();
}

void Catalog::initializeHidden() {
    execSql(db_, kHiddenSchema);
}

Stmt& Catalog::prepared(std::string_view sql) {
    auto found = prepared_.find(sql);
    if (found == prepared_.end()) {
        found = prepared_.emplace(std::string(sql), Stmt(db_, sql)).first;
    } else {
        found->second.reset();
    }
    return found->second;
}

void Catalog::registerTables(const std::vector<TableInfo>& tables) {
    // Every table first: a schema change makes SQLite prepare again the
    // statements that follow, so the rows describing them come after. A
    // table whose rows are still only in the file gets its store table when
    // they are loaded: a large file's tables are mostly read in place.
    std::string definitions;
    for (const TableInfo& info : tables) {
        if (rowsPresent(info.id)) {
            definitions += catalog_sql::createTableSql(info);
            definitions += ";\n";
        }
    }
    execSql(db_, definitions);
    for (const TableInfo& info : tables) {
        Stmt& insert = prepared(
            "INSERT INTO _orv_tables (id, name, stored, system, last_auto, position) VALUES "
            "(?, ?, ?, ?, ?, (SELECT coalesce(max(position), 0) + 1 FROM _orv_tables))");
        insert.bind(1, info.id).bind(2, info.name).bind(3, info.storedName);
        insert.bind(4, int64_t{info.system}).bind(5, info.lastAutoNumber).run();
        saveTableDefinition(info, false);
    }
}

void Catalog::createStoredTable(const TableInfo& table) {
    Stmt exists(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    exists.bind(1, table.storedName);
    if (!exists.step()) {
        execSql(db_, catalog_sql::createTableSql(table));
    }
}

void Catalog::registerSavedQuery(int64_t id, const std::string& name, const std::string& sql,
                                 QueryKind kind) {
    prepared("INSERT INTO _orv_views (id, name, sql, kind) VALUES (?,?,?,?)")
        .bind(1, id)
        .bind(2, name)
        .bind(3, sql)
        .bind(4, int64_t{static_cast<uint8_t>(kind)})
        .run();
}

void Catalog::load() {
    std::vector<TableInfo> tables;
    {
        Stmt query(db_,
                   "SELECT id, name, stored, system, last_auto FROM _orv_tables ORDER BY position");
        while (query.step()) {
            TableInfo table;
            table.id = query.getInt(0);
            table.name = query.getText(1);
            table.storedName = query.getText(2);
            table.system = query.getInt(3) != 0;
            table.lastAutoNumber = query.getInt(4);
            tables.push_back(std::move(table));
        }
    }
    std::map<int64_t, TableInfo*> tablesById;
    for (TableInfo& table : tables) {
        tablesById[table.id] = &table;
    }
    {
        Stmt query(db_,
                   "SELECT table_id, name, type, size, auto, required, allow_zero, compressed, "
                   "precision, scale, default_expr, seed, step FROM _orv_columns "
                   "ORDER BY table_id, ordinal");
        while (query.step()) {
            auto owner = tablesById.find(query.getInt(0));
            if (owner == tablesById.end()) {
                continue;
            }
            ColumnDef column;
            column.name = query.getText(1);
            column.type = static_cast<JetType>(query.getInt(2));
            column.size = static_cast<int>(query.getInt(3));
            column.autoNumber = query.getInt(4) != 0;
            column.required = query.getInt(5) != 0;
            column.allowZeroLength = query.getInt(6) != 0;
            column.compressedUnicode = query.getInt(7) != 0;
            column.precision = static_cast<int>(query.getInt(8));
            column.scale = static_cast<int>(query.getInt(9));
            if (!query.isNull(10)) {
                column.defaultValue = query.getText(10);
            }
            column.autoSeed = query.getInt(11);
            column.autoStep = query.getInt(12);
            owner->second->columns.push_back(std::move(column));
        }
    }
    {
        Stmt query(
            db_,
            "SELECT table_id, name, columns, flags FROM _orv_indexes ORDER BY table_id, ordinal");
        while (query.step()) {
            auto owner = tablesById.find(query.getInt(0));
            if (owner == tablesById.end()) {
                continue;
            }
            IndexDef index;
            index.name = query.getText(1);
            index.columns = decodeIndexColumns(query.getText(2));
            const int flags = static_cast<int>(query.getInt(3));
            index.unique = flags & kIndexUnique;
            index.primary = flags & kIndexPrimary;
            index.ignoreNulls = flags & kIndexIgnoreNulls;
            index.required = flags & kIndexRequired;
            index.foreignKey = flags & kIndexForeign;
            owner->second->indexes.push_back(std::move(index));
        }
    }
    adoptTables(std::move(tables));
}

void Catalog::loadRegistered(std::vector<TableInfo> tables) {
    adoptTables(std::move(tables));
}

void Catalog::adoptTables(std::vector<TableInfo> tables) {
    tables_ = std::move(tables);
    views_.clear();
    relationships_.clear();
    tableIndex_.clear();
    for (size_t position = 0; position < tables_.size(); ++position) {
        tableIndex_[foldName(tables_[position].name)] = position;
    }
    {
        Stmt query(db_, "SELECT id, name, sql, kind FROM _orv_views ORDER BY id");
        while (query.step()) {
            views_.push_back({query.getInt(0), query.getText(1), query.getText(2),
                              static_cast<QueryKind>(query.getInt(3))});
        }
    }
    loadRelationships();
}

int64_t Catalog::allocateObjectId() {
    Stmt next(db_, "SELECT value FROM _orv_meta WHERE key='next_id'");
    int64_t id = next.step() ? next.getInt(0) : kFirstObjectId;
    // Ids of objects must not collide with those a mirrored file brought.
    Stmt maxTable(db_, "SELECT max(id) FROM _orv_tables");
    if (maxTable.step() && !maxTable.isNull(0)) {
        id = std::max(id, maxTable.getInt(0) + 1);
    }
    Stmt maxView(db_, "SELECT max(id) FROM _orv_views");
    if (maxView.step() && !maxView.isNull(0)) {
        id = std::max(id, maxView.getInt(0) + 1);
    }
    // Nor with any other object of the file (forms, relationships, ...):
    // references to an id must stay unambiguous.
    if (findTableInfo("MSysObjects")) {
        Stmt maxObject(db_, "SELECT max(Id) FROM MSysObjects WHERE Id > 0 AND Id < ?");
        maxObject.bind(1, int64_t{kContainersId});
        if (maxObject.step() && !maxObject.isNull(0)) {
            id = std::max(id, maxObject.getInt(0) + 1);
        }
    }
    Stmt store(db_, "INSERT OR REPLACE INTO _orv_meta VALUES ('next_id', ?)");
    store.bind(1, id + 1).run();
    return id;
}

void Catalog::saveTableDefinition(const TableInfo& table, bool replacing) {
    if (replacing) {
        prepared("DELETE FROM _orv_columns WHERE table_id=?").bind(1, table.id).run();
        prepared("DELETE FROM _orv_indexes WHERE table_id=?").bind(1, table.id).run();
    }
    Stmt& insertColumn = prepared("INSERT INTO _orv_columns VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    int64_t ordinal = 0;
    for (const auto& column : table.columns) {
        insertColumn.reset();
        insertColumn.bind(1, table.id).bind(2, ordinal++).bind(3, column.name);
        insertColumn.bind(4, int64_t{static_cast<int>(column.type)}).bind(5, int64_t{column.size});
        insertColumn.bind(6, int64_t{column.autoNumber}).bind(7, int64_t{column.required});
        insertColumn.bind(8, int64_t{column.allowZeroLength});
        insertColumn.bind(9, int64_t{column.compressedUnicode});
        insertColumn.bind(10, int64_t{column.precision}).bind(11, int64_t{column.scale});
        if (column.defaultValue) {
            insertColumn.bind(12, *column.defaultValue);
        } else {
            insertColumn.bindNull(12);
        }
        insertColumn.bind(13, column.autoSeed).bind(14, column.autoStep);
        insertColumn.run();
    }
    Stmt& insertIndex = prepared("INSERT INTO _orv_indexes VALUES (?,?,?,?,?)");
    ordinal = 0;
    for (const auto& index : table.indexes) {
        insertIndex.reset();
        insertIndex.bind(1, table.id).bind(2, ordinal++).bind(3, index.name);
        insertIndex.bind(4, encodeIndexColumns(index)).bind(5, int64_t{indexFlags(index)});
        insertIndex.run();
    }
}

}  // namespace orvdb::engine
