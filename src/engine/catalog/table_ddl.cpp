// Tables and their columns: CREATE TABLE, DROP TABLE, ALTER TABLE ... ADD,
// ALTER and DROP COLUMN. Each change is checked first, made inside a
// savepoint and followed by the model read back, so a failure leaves the
// store and the model as they were.
#include "engine/catalog/catalog.hpp"

#include "engine/catalog/catalog_sql.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <algorithm>
#include <set>

namespace orvdb::engine {

namespace {

// The most columns a Jet table holds.
constexpr size_t kMaxColumns = 255;

// Raises when a value of column in the table is Null.
void checkNoNulls(sqlite3* db, const TableInfo& table, const std::string& column) {
    Stmt nulls(db, "SELECT 1 FROM " + quoteIdent(table.storedName) + " WHERE " +
                       quoteIdent(column) + " IS NULL LIMIT 1");
    if (nulls.step()) {
        throw EngineError(msg::requiredNull(table.name, column));
    }
}

}  // namespace

void Catalog::createTable(const std::string& name, std::vector<ColumnDef> columns,
                          std::vector<IndexDef> indexes, bool system) {
    checkNewObjectName(name);
    if (columns.empty()) {
        throw EngineError(msg::tableWithoutFields(name));
    }
    std::set<std::string> seen;
    int autoNumbers = 0;
    for (auto& column : columns) {
        checkValidName(column.name);
        if (!seen.insert(foldName(column.name)).second) {
            throw EngineError(msg::fieldExists(name, column.name));
        }
        if (column.autoNumber && ++autoNumbers > 1) {
            throw EngineError(msg::secondAutoNumber(name));
        }
    }
    if (columns.size() > kMaxColumns) {
        throw EngineError(msg::kTooManyFields);
    }

    Savepoint savepoint(db_);
    TableInfo table;
    table.id = tableIdSource_ ? tableIdSource_() : allocateObjectId();
    table.name = name;
    table.storedName = storedNameFor(name);
    table.system = system;
    table.columns = std::move(columns);
    execSql(db_, catalog_sql::createTableSql(table));
    Stmt insert(db_,
                "INSERT INTO _orv_tables (id, name, stored, system, last_auto, position) VALUES "
                "(?, ?, ?, ?, 0, (SELECT coalesce(max(position), 0) + 1 FROM _orv_tables))");
    insert.bind(1, table.id).bind(2, table.name).bind(3, table.storedName);
    insert.bind(4, int64_t{system}).run();
    saveTableDefinition(table);
    tables_.push_back(table);
    tableIndex_[foldName(table.name)] = tables_.size() - 1;
    const int64_t flags = system ? static_cast<int32_t>(::orvdb::jet::kSystemObjectFlags) : 0;
    insertMSysObject(table.id, kTablesContainerId, name, ObjectType::Table, flags);
    for (auto& index : indexes) {
        createIndex(name, std::move(index));
    }
    rebuildTriggersNear({name});
    savepoint.commit();
    load();
}

void Catalog::dropTable(std::string_view name) {
    if (!findTableInfo(name) && findViewInfo(name)) {
        dropView(name);
        return;
    }
    TableInfo& table = requireTable(name);
    for (const auto& relationship : relationships_) {
        if (sameName(relationship.foreignTable, table.name) ||
            sameName(relationship.primaryTable, table.name)) {
            throw EngineError(msg::tableInRelationship(table.name, relationship.name));
        }
    }
    Savepoint savepoint(db_);
    // A table never loaded has no store table.
    execSql(db_, "DROP TABLE IF EXISTS " + quoteIdent(table.storedName));
    Stmt(db_, "DELETE FROM _orv_tables WHERE id=?").bind(1, table.id).run();
    Stmt(db_, "DELETE FROM _orv_columns WHERE table_id=?").bind(1, table.id).run();
    Stmt(db_, "DELETE FROM _orv_indexes WHERE table_id=?").bind(1, table.id).run();
    deleteMSysObject(table.name, kTablesContainerId);
    if (permissionsPresent()) {
        Stmt(db_, "DELETE FROM MSysACEs WHERE ObjectId=?").bind(1, table.id).run();
    }
    savepoint.commit();
    // Its triggers went with it; no relationship names it, so no other
    // table's triggers mention it.
    load();
}

void Catalog::addColumn(std::string_view tableName, ColumnDef column) {
    TableInfo& table = requireTable(tableName);
    checkValidName(column.name);
    if (table.findColumn(column.name)) {
        throw EngineError(msg::fieldExists(table.name, column.name));
    }
    if (column.autoNumber && table.autoNumberColumn()) {
        throw EngineError(msg::secondAutoNumber(table.name));
    }
    if (table.columns.size() >= kMaxColumns) {
        throw EngineError(msg::kTooManyFields);
    }
    Savepoint savepoint(db_);
    execSql(db_, "ALTER TABLE " + quoteIdent(table.storedName) + " ADD COLUMN " +
                     catalog_sql::columnSql(column));
    if (column.autoNumber) {
        // Existing rows are numbered in table order, as Jet does.
        numberRows(table, column, table.lastAutoNumber, RowsToNumber::All);
    } else if (column.type == JetType::Boolean) {
        execSql(db_, "UPDATE " + quoteIdent(table.storedName) + " SET " + quoteIdent(column.name) +
                         " = 0");
    }
    if (column.required) {
        checkNoNulls(db_, table, column.name);
    }
    table.columns.push_back(std::move(column));
    saveTableDefinition(table);
    touchMSysObject(table.id);
    rebuildTriggersNear({table.name});
    savepoint.commit();
    load();
}

void Catalog::alterColumn(std::string_view tableName, ColumnDef column) {
    TableInfo& table = requireTable(tableName);
    auto existing =
        std::find_if(table.columns.begin(), table.columns.end(),
                     [&](const ColumnDef& other) { return sameName(other.name, column.name); });
    if (existing == table.columns.end()) {
        throw EngineError(msg::fieldNotFound(table.name, column.name));
    }
    if (column.autoNumber && !existing->autoNumber) {
        const ColumnDef* other = table.autoNumberColumn();
        if (other && !sameName(other->name, column.name)) {
            throw EngineError(msg::secondAutoNumber(table.name));
        }
    }
    column.name = existing->name;
    Savepoint savepoint(db_);
    // Existing values are converted; one that cannot be makes the whole
    // statement fail.
    try {
        execSql(db_, "UPDATE " + quoteIdent(table.storedName) + " SET " + quoteIdent(column.name) +
                         " = jet_coerce(" + quoteIdent(column.name) + ", " +
                         std::to_string(static_cast<int>(column.type)) + ", " +
                         std::to_string(column.size) + ", " +
                         quoteText(table.name + "." + column.name) + ")");
    } catch (const EngineError& e) {
        throw EngineError(msg::conversionError(table.name, column.name, e.what()));
    }
    if (column.autoNumber) {
        // An autonumber column must hold distinct values: the rows that have
        // none are numbered after the highest value present, and declaring a
        // counter again restarts it there.
        Stmt highest(db_, "SELECT max(" + quoteIdent(column.name) + ") FROM " +
                              quoteIdent(table.storedName));
        const int64_t last = highest.step() && !highest.isNull(0) ? highest.getInt(0) : 0;
        numberRows(table, column, last, RowsToNumber::WithoutValue);
    }
    if (column.required) {
        checkNoNulls(db_, table, column.name);
    }
    *existing = std::move(column);
    saveTableDefinition(table);
    // Indexes on the column are rebuilt (their uniqueness is checked again).
    for (const auto& index : table.indexes) {
        dropSqliteIndex(table, index);
        createSqliteIndex(table, index);
    }
    touchMSysObject(table.id);
    rebuildTriggersNear({table.name});
    savepoint.commit();
    load();
}

void Catalog::dropColumn(std::string_view tableName, std::string_view columnName) {
    TableInfo& table = requireTable(tableName);
    const ColumnDef* column = table.findColumn(columnName);
    if (!column) {
        throw EngineError(msg::fieldNotFound(table.name, columnName));
    }
    for (const auto& index : table.indexes) {
        for (const auto& indexColumn : index.columns) {
            if (sameName(indexColumn.column, columnName)) {
                throw EngineError(msg::fieldInIndex(table.name, column->name, index.name));
            }
        }
    }
    // Whether one side of a relationship is this column of this table.
    auto usesColumn = [&](const std::string& side, const std::vector<std::string>& columns) {
        if (!sameName(side, table.name)) {
            return false;
        }
        return std::any_of(columns.begin(), columns.end(),
                           [&](const std::string& other) { return sameName(other, columnName); });
    };
    for (const auto& relationship : relationships_) {
        if (usesColumn(relationship.foreignTable, relationship.foreignColumns) ||
            usesColumn(relationship.primaryTable, relationship.primaryColumns)) {
            throw EngineError(msg::fieldInRelationship(table.name, column->name));
        }
    }
    if (table.columns.size() == 1) {
        throw EngineError(msg::onlyField(table.name));
    }
    const std::string name = column->name;
    Savepoint savepoint(db_);
    // Triggers may name the column; they are generated again afterwards.
    catalog_sql::dropTableTriggers(db_, table);
    execSql(db_,
            "ALTER TABLE " + quoteIdent(table.storedName) + " DROP COLUMN " + quoteIdent(name));
    table.columns.erase(std::remove_if(table.columns.begin(), table.columns.end(),
                                       [&](const ColumnDef& other) { return other.name == name; }),
                        table.columns.end());
    saveTableDefinition(table);
    touchMSysObject(table.id);
    rebuildTriggersNear({table.name});
    savepoint.commit();
    load();
}

}  // namespace orvdb::engine
