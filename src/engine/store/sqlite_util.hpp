// Thin RAII helpers over the SQLite C API for the engine's own statements.
#pragma once

#include "engine/engine_error.hpp"

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvdb::engine {

// Double-quotes an identifier for SQLite ("a""b").
std::string quoteIdent(std::string_view name);
// Single-quotes a text literal for SQLite ('it''s').
std::string quoteText(std::string_view text);

// A prepared statement. Errors raise EngineError with SQLite's message.
class Stmt {
public:
    Stmt() = default;
    Stmt(sqlite3* db, std::string_view sql);
    Stmt(Stmt&& o) noexcept;
    Stmt& operator=(Stmt&& o) noexcept;
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    ~Stmt();

    Stmt& bind(int index, int64_t value);
    Stmt& bind(int index, double value);
    Stmt& bind(int index, std::string_view text);
    Stmt& bindBlob(int index, const void* data, size_t size);
    Stmt& bindNull(int index);
    Stmt& bindValue(int index, const sqlite3_value* value);

    // Steps once; true while a row is available.
    bool step();
    // Steps to the end.
    void run();
    void reset();

    int columnCount() const { return sqlite3_column_count(stmt_); }
    int columnType(int i) const { return sqlite3_column_type(stmt_, i); }
    bool isNull(int i) const { return columnType(i) == SQLITE_NULL; }
    int64_t getInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    double getDouble(int i) const { return sqlite3_column_double(stmt_, i); }
    std::string getText(int i) const;
    std::string getBlob(int i) const;  // the bytes, whatever the value's type
    sqlite3_stmt* handle() const { return stmt_; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs one or more statements without results.
void execSql(sqlite3* db, std::string_view sql);

// A savepoint that rolls back unless committed: makes multi-step changes whole.
// A step that must run before a transaction of `db` commits (a mirrored
// Access file writes the transaction's changes into the file there). Every
// commit the engine makes goes through beforeCommit(): an outermost
// Savepoint's commit(), the store's COMMIT. A step that throws keeps the
// transaction from committing.
void setBeforeCommit(sqlite3* db, std::function<void()> step);
void clearBeforeCommit(sqlite3* db);
void beforeCommit(sqlite3* db);

// A savepoint: commit() releases it; destroyed without commit() it rolls
// back to where it began. An outermost savepoint (no transaction was open)
// is a commit point.
class Savepoint {
public:
    explicit Savepoint(sqlite3* db);
    ~Savepoint();
    void commit();

private:
    sqlite3* db_;
    std::string name_;
    bool outermost_ = false;
    bool done_ = false;
};

}  // namespace orvdb::engine
