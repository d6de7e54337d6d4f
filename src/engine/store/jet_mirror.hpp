// Loading a Jet 4 file into a working store: the file's tables (system
// tables included), their definitions, rows, indexes, relationships and saved
// queries, so that SQL and cursors answer as for a native store.
#pragma once

#include <memory>
#include <string>

namespace orvdb::engine {

class WorkingStore;

// Reads the whole file into a new temporary store (on disk in the system's
// temporary folder, removed when the store closes). Rows are streamed, so
// memory does not grow with the size of a table. Raises EngineError naming
// the file and the reason when the file cannot be read.
// A read-only store refuses changes and never writes the file.
std::shared_ptr<WorkingStore> mirrorJetFile(const std::string& path, const std::string& password,
                                            bool readOnly);

}  // namespace orvdb::engine
