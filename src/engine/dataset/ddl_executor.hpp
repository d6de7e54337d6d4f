// Runs the data definition statements of Access SQL against the catalog.
#pragma once

#include "engine/catalog/catalog.hpp"
#include "engine/sql/parse/ast.hpp"

#include <functional>

namespace orvdb::engine {

// Whole or nothing: a failing statement leaves the catalog and the store as
// they were. `changed` runs once the definitions changed, before the
// statement commits.
void executeDefinition(const sql::Statement& statement, Catalog& catalog, sqlite3* db,
                       const std::function<void()>& changed = {});

}  // namespace orvdb::engine
