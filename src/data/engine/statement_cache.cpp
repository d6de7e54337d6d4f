#include "data/engine/statement_cache.hpp"

#include "data/engine/engine_error.hpp"
#include "data/engine/working_store.hpp"

namespace orvdb::engine {

CachedStatement& StatementCache::get(WorkingStore& store, std::string_view sql) {
    if (schemaVersion_ != store.schemaVersion()) {
        entries_.clear();
        schemaVersion_ = store.schemaVersion();
    }
    if (auto it = entries_.find(sql); it != entries_.end()) return *it->second;

    auto entry = std::make_unique<CachedStatement>();
    entry->statement = sql::parseStatement(sql);
    entry->translation = sql::translate(entry->statement, store.catalog());
    using K = sql::StatementKind;
    K kind = entry->translation.kind;
    if (kind == K::Select || kind == K::Insert || kind == K::Update || kind == K::Delete) {
        const std::string& text = entry->translation.sql;
        if (sqlite3_prepare_v2(store.db(), text.c_str(), static_cast<int>(text.size()),
                               &entry->prepared, nullptr) != SQLITE_OK) {
            throw EngineError(std::string(sqlite3_errmsg(store.db())) + " (while running: " +
                              std::string(sql) + ")");
        }
    }
    if (entries_.size() >= kMaxEntries) entries_.clear();
    auto& slot = entries_[std::string(sql)];
    slot = std::move(entry);
    return *slot;
}

}  // namespace orvdb::engine
