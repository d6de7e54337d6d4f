// Loading a Jet 4 file into a working store: the file's tables (system
// tables included), their definitions, rows, indexes, relationships and saved
// queries, so that SQL and cursors answer as for a native store.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::jet {
struct Row;
class TableCheck;
class TableReader;
class SalvageReader;
}  // namespace orvdb::jet

namespace orvdb::engine {

class WorkingStore;

// Reads the file's catalog into a new temporary store (on disk in the
// system's temporary folder, removed when the store closes): every table's
// definition, the rows of the system tables, saved queries, relationships.
// The rows of a user table are read when a statement first uses it (see
// WorkingStore). Raises EngineError naming the file and the reason when the
// file cannot be read.
// A read-only store refuses changes and never writes the file.
std::shared_ptr<WorkingStore> mirrorJetFile(const std::string& path, const std::string& password,
                                            bool readOnly);

// The same into an existing store (its connection freshly opened and
// configured): a store reads its file again after another process changed it.
void fillMirror(WorkingStore& store, const std::string& path,
                const std::optional<std::string>& password);
// A new private temporary SQLite database for a store of `path`.
sqlite3* openTemporaryStore(const std::string& path);

// Jet's tables that the catalog reads and DDL changes: their rows come at
// open. Every other table's rows (Access's own forms, reports and navigation
// tables, and the permissions, which only a new or dropped object touches)
// come when a statement or a definition first uses them.
bool catalogTable(std::string_view name);

// Inserts the rows `reader` gives into the store's table `storedName` (whose
// columns have the names of the definition's), each with its row pointer as
// its rowid. Each row also goes to `check` and to `observe` when given (the
// table is checked, or read for another purpose, from the same decoding).
void loadJetRows(sqlite3* db, const std::string& storedName, ::orvdb::jet::TableReader& reader,
                 ::orvdb::jet::TableCheck* check = nullptr,
                 const std::function<void(const ::orvdb::jet::Row&)>& observe = {});
// The rows a repair could read of a damaged table; a row the store refuses
// is left out with a line in `losses`. Returns the rows kept.
size_t loadSalvagedRows(sqlite3* db, const std::string& storedName,
                        ::orvdb::jet::SalvageReader& reader, std::vector<std::string>& losses);

}  // namespace orvdb::engine
