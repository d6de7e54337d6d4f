// Parsed, translated and prepared statements of a store, by the shape of
// their text (statement_shape.hpp): statements that differ only in the
// values of literals the translation merely passes on share one prepared
// statement, and get() binds this text's values to it. A change of the
// catalog empties the cache.
#pragma once

#include "engine/dataset/field_type.hpp"
#include "engine/dataset/statement_shape.hpp"
#include "engine/sql/front_end.hpp"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvdb::engine {

class WorkingStore;

struct CachedStatement {
    sql::Statement statement;  // of the text that made the entry
    sql::Translation translation;
    sqlite3_stmt* prepared = nullptr;  // selects and changes; null for definitions
    // Positions in the shape's literals of the values bound as ?1, ?2 ...
    // (parameter ?n is literal n - 1).
    std::vector<uint32_t> parameters;
    // A select's fields when every column's type is known from the
    // translation (fieldsFixed), so that each run need not work them out.
    std::vector<FieldInfo> fields;
    bool fieldsFixed = false;

    CachedStatement() = default;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    ~CachedStatement() { sqlite3_finalize(prepared); }
};

class StatementCache {
public:
    StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;
    ~StatementCache();

    // The statement for sql, with sql's literal values bound; schema answers
    // for the names it uses (the store's catalog, and the tables of other
    // databases). Raises SqlError for text the front end refuses,
    // EngineError when the store refuses the translation.
    CachedStatement& get(WorkingStore& store, std::string_view sql,
                         const sql::SchemaResolver& schema);
    void clear() { entries_.clear(); }

    // Transaction control prepared once: a single change outside a
    // transaction runs in one of its own (see executor.cpp).
    enum class Control { Begin, Commit, Rollback };
    // Steps it; raises EngineError when SQLite refuses.
    void run(WorkingStore& store, Control control);

    // Entries held (a partly shaped statement counts twice): for tests.
    size_t size() const { return entries_.size(); }

private:
    // An entry, or for a shape whose statements keep some literals as
    // written, which literals are parameters (the statement itself is under
    // the partial key those make).
    struct Entry {
        std::unique_ptr<CachedStatement> statement;
        std::vector<bool> parameterMask;
    };

    CachedStatement& build(WorkingStore& store, std::string_view sql,
                           const sql::SchemaResolver& schema);
    void bind(WorkingStore& store, CachedStatement& statement, std::string_view sql) const;

    static constexpr size_t kMaxEntries = 512;
    std::unordered_map<std::string, Entry> entries_;
    uint64_t schemaVersion_ = 0;
    // Reused between calls: the shape of the text being looked up.
    StatementShape shape_;
    std::string partialKey_;
    sqlite3_stmt* control_[3] = {nullptr, nullptr, nullptr};
};

}  // namespace orvdb::engine
