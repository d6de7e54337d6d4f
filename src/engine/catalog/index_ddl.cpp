// Indexes: CREATE INDEX, DROP INDEX, and the store's own (SQLite) indexes
// behind them, built with the JETTEXT collation so that the translator's
// comparisons can use them.
#include "engine/catalog/catalog.hpp"

#include "engine/catalog/catalog_sql.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <algorithm>

namespace orvdb::engine {

namespace {

// The most columns a Jet index holds.
constexpr size_t kMaxIndexColumns = 10;

// Whether the first `count` columns of both indexes are the same, in the
// same directions.
bool sameLeadingColumns(const IndexDef& first, const IndexDef& second, size_t count) {
    for (size_t position = 0; position < count; ++position) {
        if (!sameName(first.columns[position].column, second.columns[position].column) ||
            first.columns[position].descending != second.columns[position].descending) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string sqliteIndexName(const TableInfo& table, const IndexDef& index) {
    return "orvix_" + std::to_string(table.id) + "_" + foldName(index.name);
}

std::vector<std::string> Catalog::materializeIndexes(const TableInfo& table) {
    std::vector<std::string> problems;
    if (!rowsPresent(table.id)) {
        return problems;  // built with the rows
    }
    for (const auto& index : table.indexes) {
        try {
            createSqliteIndex(table, index);
        } catch (const EngineError& e) {
            problems.push_back(msg::indexNotBuilt(index.name, table.name, e.what()));
        }
    }
    return problems;
}

// A non-unique index adds nothing SQLite needs when another index of the
// table begins with the same columns in the same directions: lookups use
// that one. Access files have many (the index of a foreign key beside the
// primary key that starts with the same column), and building them all
// would double the time a file takes to open. Of identical ones the first
// is kept.
bool Catalog::lookupCoveredByAnother(const TableInfo& table, const IndexDef& index) const {
    if (index.unique || index.primary) {
        return false;
    }
    bool seenSelf = false;
    for (const auto& other : table.indexes) {
        if (&other == &index || sameName(other.name, index.name)) {
            seenSelf = true;
            continue;
        }
        if (other.columns.size() < index.columns.size() ||
            !sameLeadingColumns(other, index, index.columns.size())) {
            continue;
        }
        // A partial index serves only the rows it holds.
        if (other.ignoreNulls &&
            !(index.ignoreNulls && other.columns.size() == index.columns.size())) {
            continue;
        }
        const bool identical = other.columns.size() == index.columns.size() && !other.unique &&
                               !other.primary && other.ignoreNulls == index.ignoreNulls;
        if (!identical || !seenSelf) {
            return true;
        }
    }
    return false;
}

void Catalog::restoreLookupIndexes(const TableInfo& table) {
    for (const auto& index : table.indexes) {
        if (!lookupCoveredByAnother(table, index)) {
            execSql(db_,
                    catalog_sql::createIndexSql(table, index, sqliteIndexName(table, index), true));
        }
    }
}

void Catalog::createSqliteIndex(const TableInfo& table, const IndexDef& index) {
    if (lookupCoveredByAnother(table, index)) {
        return;
    }
    try {
        execSql(db_, catalog_sql::createIndexSql(table, index, sqliteIndexName(table, index)));
    } catch (const EngineError& e) {
        throw EngineError(msg::translateSqliteError(e.what()));
    }
}

void Catalog::dropSqliteIndex(const TableInfo& table, const IndexDef& index) {
    execSql(db_, "DROP INDEX IF EXISTS " + quoteIdent(sqliteIndexName(table, index)));
}

void Catalog::createIndex(std::string_view tableName, IndexDef index) {
    TableInfo& table = requireTable(tableName);
    checkValidName(index.name);
    for (const auto& other : table.indexes) {
        if (sameName(other.name, index.name)) {
            throw EngineError(msg::indexExists(table.name, index.name));
        }
    }
    if (index.primary && table.primaryKey()) {
        throw EngineError(msg::kPrimaryKeyExists);
    }
    if (index.columns.empty() || index.columns.size() > kMaxIndexColumns) {
        throw EngineError(msg::indexFieldCount(index.name));
    }
    for (auto& indexColumn : index.columns) {
        const ColumnDef* column = table.findColumn(indexColumn.column);
        if (!column) {
            throw EngineError(msg::fieldNotFound(table.name, indexColumn.column));
        }
        if (column->type == JetType::Memo || column->type == JetType::OLE) {
            throw EngineError(msg::memoIndex(column->name));
        }
        indexColumn.column = column->name;
    }
    if (index.primary) {
        index.unique = true;
    }
    Savepoint savepoint(db_);
    if (index.primary || index.required) {
        for (const auto& indexColumn : index.columns) {
            Stmt nulls(db_, "SELECT 1 FROM " + quoteIdent(table.storedName) + " WHERE " +
                                quoteIdent(indexColumn.column) + " IS NULL LIMIT 1");
            if (nulls.step()) {
                throw EngineError(msg::kPrimaryKeyNull);
            }
        }
    }
    createSqliteIndex(table, index);
    table.indexes.push_back(std::move(index));
    saveTableDefinition(table);
    touchMSysObject(table.id);
    rebuildTriggersNear({table.name});
    savepoint.commit();
    load();
}

void Catalog::dropIndex(std::string_view tableName, std::string_view name) {
    TableInfo& table = requireTable(tableName);
    auto index = std::find_if(table.indexes.begin(), table.indexes.end(),
                              [&](const IndexDef& other) { return sameName(other.name, name); });
    if (index == table.indexes.end()) {
        throw EngineError(msg::notAnIndex(name, table.name));
    }
    for (const auto& relationship : relationships_) {
        if (index->primary && sameName(relationship.primaryTable, table.name)) {
            throw EngineError(msg::indexInRelationship(index->name, relationship.name));
        }
    }
    Savepoint savepoint(db_);
    dropSqliteIndex(table, *index);
    table.indexes.erase(index);
    restoreLookupIndexes(table);
    saveTableDefinition(table);
    touchMSysObject(table.id);
    rebuildTriggersNear({table.name});
    savepoint.commit();
    load();
}

}  // namespace orvdb::engine
