// SQLite statements that materialise the catalog: tables, indexes and the
// triggers that enforce Jet's rules.
#pragma once

#include "engine/catalog/catalog.hpp"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace orvdb::engine::catalog_sql {

std::string columnSql(const ColumnDef& column);
std::string createTableSql(const TableInfo& table);
std::string createIndexSql(const TableInfo& table, const IndexDef& index,
                           const std::string& sqliteName, bool ifNotExists = false);
// The SQLite constant for a Jet default value expression, or "" when the
// expression has none (it is then kept in the catalog only).
std::string sqliteDefault(const ColumnDef& column);

std::vector<std::string> triggerSql(const TableInfo& table, const Catalog& catalog);
void dropTableTriggers(sqlite3* db, const TableInfo& table);

}  // namespace orvdb::engine::catalog_sql
