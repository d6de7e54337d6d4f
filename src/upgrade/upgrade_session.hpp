// The query pool of a connection as the upgrades drive it: query levels
// pushed and popped around independent work, the current level's query in
// select or command mode, and typed field reads. Everything goes through the
// iDatabase / iQueryDatabase interfaces, as for any host caller; a failing
// statement stays as quiet as the query layer makes it.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace orvdb::upgrade {

// One query object of the pool, held across level changes.
class QueryHandle {
public:
    explicit QueryHandle(ComPtr<iQueryDatabase> query) : query_(std::move(query)) {}

    void setCommandMode();
    void setSelectMode();

    // Runs the text in the query's mode: a select reports whether it found a
    // row, a command whether it changed one. Failures are quiet (no row /
    // nothing changed).
    bool open(std::string_view sql);
    // TryOpenSQL: a select that tells a failing select (false) from one that
    // ran, with or without rows (true). The failure is still only reported on
    // the debug channel. The query's mode is kept.
    bool tryOpen(std::string_view sql);

    bool active();
    void next();
    std::string fieldText(std::string_view field);
    float fieldFloat(std::string_view field);
    int32_t fieldInteger(std::string_view field);

    iQueryDatabase* get() const { return query_.get(); }

private:
    ComPtr<iQueryDatabase> query_;
};

class UpgradeSession {
public:
    explicit UpgradeSession(iDatabase& database) : database_(database) {}

    iDatabase& database() { return database_; }

    void pushLevel();
    void popLevel();

    // The query of the current level (a level must have been pushed).
    QueryHandle current();

    // The same operations on the current level's query.
    void setCommandMode() { current().setCommandMode(); }
    void setSelectMode() { current().setSelectMode(); }
    bool open(std::string_view sql) { return current().open(sql); }
    bool tryOpen(std::string_view sql) { return current().tryOpen(sql); }
    bool active() { return current().active(); }
    void next() { current().next(); }
    std::string fieldText(std::string_view field) { return current().fieldText(field); }
    float fieldFloat(std::string_view field) { return current().fieldFloat(field); }
    int32_t fieldInteger(std::string_view field) { return current().fieldInteger(field); }

    bool tableExists(std::string_view table);
    bool fieldExists(std::string_view table, std::string_view field);
    // The engine's SQL type word: 0 LONG, 1 FLOAT, 2 VARCHAR(size), 6 BYTE,
    // 8 AUTOINCREMENT, 9 LONGBLOB, 10 MEMO.
    std::string typeWord(int32_t kindCode, int32_t size = 0);

private:
    iDatabase& database_;
};

// One query level for the lifetime of the object.
class QueryLevel {
public:
    explicit QueryLevel(UpgradeSession& session) : session_(session) { session_.pushLevel(); }
    ~QueryLevel();
    QueryLevel(const QueryLevel&) = delete;
    QueryLevel& operator=(const QueryLevel&) = delete;

private:
    UpgradeSession& session_;
};

// A query level of its own in command mode, for the statements of a step.
class Changes {
public:
    explicit Changes(UpgradeSession& session) : level_(session), query_(session.current()) {
        query_.setCommandMode();
    }
    void run(const std::string& sql) { query_.open(sql); }

private:
    QueryLevel level_;
    QueryHandle query_;
};

// A query level of its own in select mode, for reading rows. A select's rows
// are read whole when it opens, so the caller may change the table it walks.
class Reader {
public:
    explicit Reader(UpgradeSession& session) : level_(session), query_(session.current()) {
        query_.setSelectMode();
    }
    // True when the select gave a first row.
    bool open(const std::string& sql) { return query_.open(sql) && query_.active(); }
    // True while there is a row.
    bool next() {
        query_.next();
        return query_.active();
    }
    std::string text(const char* field) { return query_.fieldText(field); }
    int32_t integer(const char* field) { return query_.fieldInteger(field); }
    float number(const char* field) { return query_.fieldFloat(field); }

private:
    QueryLevel level_;
    QueryHandle query_;
};

}  // namespace orvdb::upgrade
