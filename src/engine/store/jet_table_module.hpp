// Tables of an Access file read in place, as SQLite virtual tables: a
// statement that reads a large table the store has not loaded reads it from
// the file's pages, through the table's indexes when its WHERE clause pins
// the leading columns of one (a point select by primary key reads a handful
// of pages), else by walking its data pages. Read-only: a statement that
// changes a table works on the store's own copy of it.
//
//   registerJetTableModule(db, files);   // once per store connection
//   CREATE VIRTUAL TABLE temp."orvjet_123" USING orvjet(123)
//
// The module's argument is the table's definition page (its id). Columns are
// those of the file's definition, by name, in the store's value forms (the
// same the mirror loads): a row's rowid is its row pointer.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <memory>

#include "jet/update/file_pages.hpp"

namespace orvdb::engine {

// Where the module reads pages: a fresh view of the file as it is now.
using FileView = std::function<std::unique_ptr<::orvdb::jet::FilePages>()>;

// Throws EngineError when SQLite refuses the module.
void registerJetTableModule(sqlite3* db, FileView view);

// The name of the virtual table that reads table `id` ("orvjet_<id>").
std::string jetTableName(int64_t id);

}  // namespace orvdb::engine
