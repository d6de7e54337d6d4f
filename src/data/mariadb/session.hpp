// One client connection to a MariaDB server (Connector/C): statements in,
// rows out as the engine's datasets hold them. Every failure raises a
// SessionError naming the server and the server's message.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/mariadb/kept_views.hpp"
#include "data/mariadb/settings.hpp"
#include "engine/dataset/connection.hpp"

struct st_mysql;

namespace orvdb::data::mariadb {

class SessionError : public std::runtime_error {
public:
    SessionError(const std::string& message, unsigned code)
        : std::runtime_error(message), code_(code) {}
    // The server's error number (0 when the client failed on its own).
    unsigned code() const { return code_; }

private:
    unsigned code_;
};

class Session {
public:
    explicit Session(Settings settings);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Connects (with the database of the settings as the default one).
    void open();
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const Settings& settings() const { return settings_; }
    // Another database (or server) for the next open; raises while open.
    void retarget(Settings settings);

    // Runs a statement that returns rows. One that returns none runs and
    // then raises, as the engine does for an action statement opened as a select.
    engine::QueryResult query(std::string_view sql);
    // Runs a statement; the number of rows it changed (rows it returns are dropped).
    int64_t execute(std::string_view sql);
    // The first column of the first row as text, "" when there is no row or it is NULL.
    std::string scalar(std::string_view sql);
    uint64_t lastInsertId() const;

    // Streams rows into a table with LOAD DATA LOCAL (tab-separated, '\\N'
    // for NULL, bytes unconverted): next fills its argument with the next
    // piece of the stream and returns false at the end. Raises when the
    // server loaded fewer rows than expected or warned about any value
    // (LOCAL turns the server's errors into warnings).
    void loadData(std::string_view table, const std::vector<std::string>& columns,
                  int64_t expectedRows, const std::function<bool(std::string&)>& next);

    // 'text' with the server's escapes.
    std::string quoteText(std::string_view text) const;

    // The tables and views of the database by folded name, read once and
    // again after a statement of this session that may change the schema.
    struct TableName {
        std::string name;  // as the server spells it
        bool view = false;
    };
    const std::map<std::string, TableName>& tableNames();

    // The views made from Access SQL that this connection keeps making.
    KeptViews& keptViews() { return keptViews_; }
    // The folder where a database Access SQL names ([XLIB].Opening) is
    // looked for; empty: the process's current directory.
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
    const std::string& workingFolder() const { return workingFolder_; }

private:
    // Forgets the table names when the statement may change the schema.
    void noteStatement(std::string_view sql);

    st_mysql* connected() const;
    [[noreturn]] void fail(std::string_view what) const;

    Settings settings_;
    st_mysql* handle_ = nullptr;
    std::map<std::string, TableName> tableNames_;
    bool tableNamesRead_ = false;
    KeptViews keptViews_;
    std::string workingFolder_;
};

// Whether a statement of the server's own SQL may change the schema.
bool changesSchema(std::string_view sql);

// `name`, a backquote inside doubled.
std::string quoteName(std::string_view name);
// X'...' or NULL-free hex literal of bytes.
std::string hexLiteral(const std::vector<uint8_t>& bytes);
// 'YYYY-MM-DD HH:MM:SS' for a Jet date-time.
std::string dateTimeLiteral(double jetDate);
// Appends a text to a LOAD DATA stream with its tabs, newlines, backslashes
// and NULs escaped.
void appendLoadText(std::string& stream, std::string_view text);

}  // namespace orvdb::data::mariadb
