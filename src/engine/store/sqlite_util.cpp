#include "engine/store/sqlite_util.hpp"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

namespace orvdb::engine {

std::string quoteIdent(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    out += '"';
    for (char c : name) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string quoteText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'') {
            out += '\'';
        }
        out += c;
    }
    out += '\'';
    return out;
}

namespace {
[[noreturn]] void fail(sqlite3* db, std::string_view what) {
    throw EngineError(std::string(what) + sqlite3_errmsg(db));
}
}  // namespace

Stmt::Stmt(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK) {
        std::string message = sqlite3_errmsg(db);
        stmt_ = nullptr;
        throw EngineError(message + " [" + std::string(sql) + "]");
    }
}

Stmt::Stmt(Stmt&& o) noexcept
    : db_(std::exchange(o.db_, nullptr)), stmt_(std::exchange(o.stmt_, nullptr)) {}

Stmt& Stmt::operator=(Stmt&& o) noexcept {
    if (this != &o) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(o.db_, nullptr);
        stmt_ = std::exchange(o.stmt_, nullptr);
    }
    return *this;
}

Stmt::~Stmt() {
    sqlite3_finalize(stmt_);
}

Stmt& Stmt::bind(int index, int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}
Stmt& Stmt::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}
Stmt& Stmt::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}
Stmt& Stmt::bindBlob(int index, const void* data, size_t size) {
    if (sqlite3_bind_blob64(stmt_, index, size ? data : "", size, SQLITE_TRANSIENT) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}
Stmt& Stmt::bindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}
Stmt& Stmt::bindValue(int index, const sqlite3_value* value) {
    if (sqlite3_bind_value(stmt_, index, value) != SQLITE_OK) {
        fail(db_, "bind: ");
    }
    return *this;
}

bool Stmt::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    std::string message = sqlite3_errmsg(db_);
    sqlite3_reset(stmt_);
    throw EngineError(message);
}

void Stmt::run() {
    while (step()) {
    }
}

void Stmt::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string Stmt::getText(int i) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, i))) : std::string();
}

std::string Stmt::getBlob(int i) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, i));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, i))) : std::string();
}

void execSql(sqlite3* db, std::string_view sql) {
    char* error = nullptr;
    std::string text(sql);
    if (sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        throw EngineError(message);
    }
}

namespace {

std::mutex& beforeCommitMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<sqlite3*, std::function<void()>>& beforeCommitSteps() {
    static std::map<sqlite3*, std::function<void()>> steps;
    return steps;
}

}  // namespace

void setBeforeCommit(sqlite3* db, std::function<void()> step) {
    std::lock_guard lock(beforeCommitMutex());
    beforeCommitSteps()[db] = std::move(step);
}

void clearBeforeCommit(sqlite3* db) {
    std::lock_guard lock(beforeCommitMutex());
    beforeCommitSteps().erase(db);
}

void beforeCommit(sqlite3* db) {
    std::function<void()> step;
    {
        std::lock_guard lock(beforeCommitMutex());
        auto found = beforeCommitSteps().find(db);
        if (found == beforeCommitSteps().end()) {
            return;
        }
        step = found->second;
    }
    step();
}

Savepoint::Savepoint(sqlite3* db) : db_(db) {
    static std::atomic<unsigned> counter{0};
    name_ = "orv_sp_" + std::to_string(++counter);
    outermost_ = sqlite3_get_autocommit(db_) != 0;
    execSql(db_, "SAVEPOINT " + name_);
}

Savepoint::~Savepoint() {
    if (done_) {
        return;
    }
    // The transaction this savepoint began ends with it.
    std::string sql = outermost_ ? "ROLLBACK TO " + name_ + "; ROLLBACK"
                                 : "ROLLBACK TO " + name_ + "; RELEASE " + name_;
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

void Savepoint::commit() {
    if (outermost_) {
        beforeCommit(db_);
    }
    execSql(db_, "RELEASE " + name_);
    done_ = true;
}

}  // namespace orvdb::engine
