// The Jet system tables a new store starts with, and their rows.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace orvdb::engine {

class Catalog;

// Creates MSysObjects, MSysACEs, MSysQueries and MSysRelationships with Jet's
// column definitions, and the container rows of MSysObjects.
void createSystemTables(Catalog& catalog, sqlite3* db);

// The MSysQueries rows of a saved select query.
void writeQueryRows(Catalog& catalog, sqlite3* db, int64_t objectId, const std::string& sql);

}  // namespace orvdb::engine
