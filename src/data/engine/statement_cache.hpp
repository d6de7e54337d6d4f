// Parsed, translated and prepared statements of a store, by SQL text. A
// change of the catalog empties the cache.
#pragma once

#include "data/engine/sql/front_end.hpp"

#include <sqlite3.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace orvdb::engine {

class WorkingStore;

struct CachedStatement {
    sql::Statement statement;
    sql::Translation translation;
    sqlite3_stmt* prepared = nullptr;  // selects and changes; null for definitions

    CachedStatement() = default;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    ~CachedStatement() { sqlite3_finalize(prepared); }
};

class StatementCache {
public:
    // Raises SqlError for text the front end refuses, EngineError when the
    // store refuses the translation.
    CachedStatement& get(WorkingStore& store, std::string_view sql);
    void clear() { entries_.clear(); }

private:
    static constexpr size_t kMaxEntries = 512;
    std::map<std::string, std::unique_ptr<CachedStatement>, std::less<>> entries_;
    uint64_t schemaVersion_ = 0;
};

}  // namespace orvdb::engine
