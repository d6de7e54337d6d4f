// The C++ API of liborvdb: RAII handles over the database interfaces, with
// UTF-8 std::string and exceptions.
//
//   orvdb::Database db = orvdb::Database::openFile("/srv/joinery/shop.mdb");
//   {
//       orvdb::QueryScope query(db);               // PushQuery ... PopQuery
//       for (bool row = query->select("SELECT Id, Nom FROM Prix"); row; row = query->next())
//           std::cout << query->getInt("Id") << ' ' << query->getString("Nom") << '\n';
//   }
//   db.execute("DELETE FROM Prix WHERE Id=3");
//
// A failure status of an interface operation becomes orvdb::Error with the
// operation's message. SQL keeps the driver's quiet rule: a select the
// engine rejects finds no row (its error goes to the debug output channel),
// an action statement it rejects changes nothing; neither throws. The
// cursor's lastError() tells the two "nothing found" apart:
//
//   if (!query->select(sql) && !query->lastError().empty())
//       throw std::runtime_error(query->lastError());
//
// Handles hold references: a QueryScope or TableScope keeps its database
// alive; a Query or Table is meant for use until its scope pops it.
#pragma once

#include <orvdb/types.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvdb {

class Error : public std::runtime_error {
public:
    Error(OrvHResult status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    OrvHResult status() const noexcept { return status_; }

private:
    OrvHResult status_;
};

// Throws Error for a failure status, with the last error message of this
// thread (or the operation's name when there is none).
void checkStatus(OrvHResult status, const char* operation);

// The fields of a cursor's current row, by name.
class Record {
public:
    // True while the cursor stands on a row.
    bool opened() const;
    int fieldCount() const;
    std::string fieldName(int index) const;

    // Reading: NULL reads as "", 0, 0.0, false and day 0; an unknown field
    // reads as "" through getString and throws through the others.
    std::string getString(std::string_view field) const;
    int32_t getInt(std::string_view field) const;
    double getDouble(std::string_view field) const;
    bool getBool(std::string_view field) const;
    OrvDateTime getDateTime(std::string_view field) const;
    // Cursors made by this library only; throws for others.
    bool isNull(std::string_view field) const;
    // The message of the last failed statement or row operation of this
    // cursor (select, execute, next, open, seek, edit, append, post, last),
    // "" after one that succeeded: how a caller learns why a select found
    // nothing or a post was refused. Cursors made by this library only;
    // throws for others.
    std::string lastError() const;

    // Writing (table cursors; a query result is read-only).
    void setString(std::string_view field, std::string_view text);
    void setInt(std::string_view field, int32_t value);
    void setDouble(std::string_view field, double value);
    void setBool(std::string_view field, bool value);
    void setDateTime(std::string_view field, OrvDateTime value);

protected:
    explicit Record(iRecordDatabase* record) : record_(record) {}
    iRecordDatabase* record_;
};

// A query cursor: one SQL text at a time.
class Query : public Record {
public:
    explicit Query(ComPtr<iQueryDatabase> query);

    // Runs a select; true when it found a row, on which the cursor then stands.
    bool select(std::string_view sql);
    // Runs an action statement; true when it changed at least one row.
    bool execute(std::string_view sql);
    // Moves to the next row; false, with the cursor closed, past the last.
    bool next();
    int recordCount() const;

    iQueryDatabase* get() const { return query_.get(); }

private:
    bool openSql(std::string_view sql, int32_t kind);
    ComPtr<iQueryDatabase> query_;
};

// A table cursor: rows of one table, found and keyed by their "Id".
class Table : public Record {
public:
    explicit Table(ComPtr<iTableDatabase> table);

    // Opens every row of the table, on the first.
    void open(std::string_view tableName);
    // Edits the row whose Id is id; "0" starts a new row instead.
    void seek(std::string_view id);
    void edit();
    void append();
    // Writes the row being edited or appended (an error the engine reports
    // goes to the host's message dialog, as the driver does).
    void post();
    void last();
    // The Id of the last row after post(): the new key after an append.
    std::string id() const;

    iTableDatabase* get() const { return table_.get(); }

private:
    ComPtr<iTableDatabase> table_;
};

class Database {
public:
    // OpenDatabase on section "CONNEXION" + alias of a settings file. Throws
    // Error with status ORV_E_INVALIDARG when the file does not exist and
    // ORV_S_FALSE when the section names no database (NAME empty or no file
    // at PATH). The database is open only when the section says OPEN=TRUE.
    static Database fromSettings(const std::string& settingsFile, const std::string& alias);
    // A database on the file at path, opened. Throws Error when there is no
    // such file or it cannot be opened. The name defaults to the file name
    // without extension.
    static Database openFile(const std::string& path, const std::string& name = {});

    explicit Database(ComPtr<iDatabase> database);

    bool opened() const;
    // Throws Error when the database cannot be opened (the reason went to the
    // host's exception handler).
    void open();
    void close();
    std::string name() const;

    bool tableExists(std::string_view table) const;
    bool fieldExists(std::string_view table, std::string_view field) const;
    // One action statement on a query level of its own; true when it changed
    // at least one row.
    bool execute(std::string_view sql);

    void savePoint();
    void commit();
    void rollback();

    iDatabase* get() const { return db_.get(); }

private:
    ComPtr<iDatabase> db_;
};

// A query level: pushed on construction, popped on destruction.
class QueryScope {
public:
    explicit QueryScope(Database& db);
    ~QueryScope();
    QueryScope(const QueryScope&) = delete;
    QueryScope& operator=(const QueryScope&) = delete;

    Query& operator*() { return query_; }
    Query* operator->() { return &query_; }

private:
    ComPtr<iDatabase> db_;
    Query query_;
};

// A table level: pushed on construction, popped on destruction.
class TableScope {
public:
    explicit TableScope(Database& db);
    ~TableScope();
    TableScope(const TableScope&) = delete;
    TableScope& operator=(const TableScope&) = delete;

    Table& operator*() { return table_; }
    Table* operator->() { return &table_; }

private:
    ComPtr<iDatabase> db_;
    Table table_;
};

}  // namespace orvdb
