#include "engine/dataset/statement_cache.hpp"

#include "engine/dataset/statement_parameters.hpp"
#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/store/working_store.hpp"

#include <algorithm>

namespace orvdb::engine {

StatementCache::~StatementCache() {
    for (sqlite3_stmt* statement : control_) {
        sqlite3_finalize(statement);
    }
}

CachedStatement& StatementCache::get(WorkingStore& store, std::string_view sql,
                                     const sql::SchemaResolver& schema) {
    if (schemaVersion_ != store.schemaVersion()) {
        entries_.clear();
        schemaVersion_ = store.schemaVersion();
    }
    shapeStatement(sql, shape_);
    if (auto it = entries_.find(shape_.key); it != entries_.end()) {
        Entry& entry = it->second;
        if (entry.statement) {
            // Columns learnt from the data: translate again, the data may have changed.
            if (entry.statement->translation.translateAtEachUse()) {
                return build(store, sql, schema);
            }
            bind(store, *entry.statement, sql);
            return *entry.statement;
        }
        // Some literals of this shape stay as written: they pick the entry.
        partialShapeKey(sql, shape_, entry.parameterMask, partialKey_);
        if (auto partial = entries_.find(partialKey_);
            partial != entries_.end() && partial->second.statement &&
            !partial->second.statement->translation.translateAtEachUse()) {
            bind(store, *partial->second.statement, sql);
            return *partial->second.statement;
        }
    }
    return build(store, sql, schema);
}

CachedStatement& StatementCache::build(WorkingStore& store, std::string_view sql,
                                       const sql::SchemaResolver& schema) {
    auto entry = std::make_unique<CachedStatement>();
    entry->statement = sql::parseStatement(sql);
    std::vector<bool> mask = markParameters(entry->statement, shape_);
    // A crosstab without an IN list learns its columns from the data now;
    // its entry is rebuilt at each use (columnsFromData).
    const sql::PivotValueReader readPivotValues = [&store](const std::string& text) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(store.db(), text.c_str(), static_cast<int>(text.size()), &statement,
                               nullptr) != SQLITE_OK) {
            std::string message = sqlite3_errmsg(store.db());
            sqlite3_finalize(statement);
            throw EngineError(msg::isStatementLimit(message)
                                  ? std::string(msg::kTooComplex)
                                  : msg::readingPivotValues(message, text));
        }
        std::vector<SqlValue> values;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            values.push_back(readColumnValue(statement, 0));
        }
        std::string message = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(store.db());
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) {
            throw EngineError(msg::translateSqliteError(message));
        }
        return values;
    };
    entry->translation = sql::translate(entry->statement, schema, &readPivotValues);
    using K = sql::StatementKind;
    K kind = entry->translation.kind;
    if (kind == K::Select || kind == K::Insert || kind == K::Update || kind == K::Delete) {
        const std::string& text = entry->translation.sql;
        if (sqlite3_prepare_v2(store.db(), text.c_str(), static_cast<int>(text.size()),
                               &entry->prepared, nullptr) != SQLITE_OK) {
            std::string message = sqlite3_errmsg(store.db());
            if (msg::isStatementLimit(message)) {
                throw EngineError(msg::kTooComplex);
            }
            throw EngineError(msg::whileRunning(message, sql));
        }
    }
    for (size_t i = 0; i < mask.size(); ++i) {
        // A value the translation left out has nothing to bind to.
        std::string name = "?" + std::to_string(i + 1);
        if (mask[i] && entry->prepared &&
            sqlite3_bind_parameter_index(entry->prepared, name.c_str()) > 0) {
            entry->parameters.push_back(static_cast<uint32_t>(i));
        }
    }

    if (entries_.size() + 2 > kMaxEntries) {
        entries_.clear();
    }
    CachedStatement& result = *entry;
    if (std::all_of(mask.begin(), mask.end(), [](bool b) { return b; })) {
        entries_[shape_.key] = Entry{std::move(entry), {}};
    } else {
        // The other statements of this shape find the mask here, then their
        // own entry under the key it makes.
        partialShapeKey(sql, shape_, mask, partialKey_);
        entries_[shape_.key] = Entry{nullptr, std::move(mask)};
        entries_[partialKey_] = Entry{std::move(entry), {}};
    }
    bind(store, result, sql);
    return result;
}

void StatementCache::bind(WorkingStore& store, CachedStatement& statement,
                          std::string_view sql) const {
    for (uint32_t index : statement.parameters) {
        const ShapeLiteral& literal = shape_.literals[index];
        int n = static_cast<int>(index) + 1;
        int rc = SQLITE_OK;
        switch (literal.kind) {
            case LiteralKind::Integer:
            case LiteralKind::WideInteger:
                rc = sqlite3_bind_int64(statement.prepared, n, literal.integer);
                break;
            case LiteralKind::Real:
                rc = sqlite3_bind_double(statement.prepared, n, literal.real);
                break;
            case LiteralKind::Text:
                rc = sqlite3_bind_text64(statement.prepared, n, literal.text.data(),
                                         literal.text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
        }
        if (rc != SQLITE_OK) {
            throw EngineError(msg::bindingFailed(sqlite3_errmsg(store.db()), n, sql));
        }
    }
}

void StatementCache::run(WorkingStore& store, Control control) {
    static constexpr const char* kSql[] = {"BEGIN", "COMMIT", "ROLLBACK"};
    size_t which = static_cast<size_t>(control);
    if (control == Control::Commit) {
        beforeCommit(store.db());
    }
    sqlite3_stmt*& statement = control_[which];
    if (statement == nullptr &&
        sqlite3_prepare_v2(store.db(), kSql[which], -1, &statement, nullptr) != SQLITE_OK) {
        throw EngineError(msg::inStatement(sqlite3_errmsg(store.db()), kSql[which]));
    }
    int rc = sqlite3_step(statement);
    std::string message = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(store.db());
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE) {
        throw EngineError(msg::inStatement(message, kSql[which]));
    }
}

}  // namespace orvdb::engine
