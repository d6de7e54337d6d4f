// Writing a mirrored store back over its Jet file: a complete new file built
// from the store, written beside the original and renamed over it. On any
// failure the original is left as it was.
#pragma once

#include "jet/write/atomic_file.hpp"

#include <optional>
#include <string>

#include <sqlite3.h>

namespace orvdb::engine {

class Catalog;

// `password`: the one the file was opened with (the header page, and with it
// the password, is kept). Throws EngineError "Cannot save '<file>': <why>".
void writeBackJetFile(sqlite3* db, const Catalog& catalog, const std::string& jetFile,
                      const std::optional<std::string>& password,
                      const ::orvdb::jet::FileSystemCalls& calls = {});

}  // namespace orvdb::engine
