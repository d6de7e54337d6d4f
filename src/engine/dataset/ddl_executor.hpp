// Runs the data definition statements of Access SQL against the catalog.
#pragma once

#include "engine/catalog/catalog.hpp"
#include "engine/sql/parse/ast.hpp"

namespace orvdb::engine {

// Whole or nothing: a failing statement leaves the catalog and the store as
// they were.
void executeDefinition(const sql::Statement& statement, Catalog& catalog, sqlite3* db);

}  // namespace orvdb::engine
