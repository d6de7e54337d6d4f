// Rows of the Jet system tables the catalog keeps in step with definitions.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <vector>

#include "engine/catalog/saved_query_rows.hpp"

namespace orvdb::engine {

class Catalog;

// Stores the MSysQueries rows of a saved query (when the store has the table).
void writeQueryRows(Catalog& catalog, sqlite3* db, int64_t objectId,
                    const std::vector<SavedQueryRow>& rows);

}  // namespace orvdb::engine
