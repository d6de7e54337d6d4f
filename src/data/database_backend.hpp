// What a connection object (torvc_Database) asks of the database behind it:
// an Access file served by the engine, or a server. The connection object
// keeps the stacks, the flags and the host-facing rules; the backend
// connects, makes the cursors, answers the schema questions and gives the
// words of its SQL dialect.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::data {

class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;

    // path: the database path the connection object holds (an Access file;
    // a server backend ignores it).
    virtual void open(std::u16string_view path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual void beginTransaction() = 0;
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() = 0;

    // User tables (system tables excluded).
    virtual std::vector<std::string> userTableNames() const = 0;
    // Field names of a table in column order; raises when there is no such table.
    virtual std::vector<std::string> fieldNames(std::string_view table) const = 0;
    // A column's stored type and size as DAO numbers them; {0, 0} when unknown.
    virtual FieldDef fieldDef(std::u16string_view path, std::u16string_view table,
                              std::u16string_view field) const = 0;

    // Fresh cursors on this database.
    virtual ComPtr<iQueryDatabase> newQuery() = 0;
    virtual ComPtr<iTableDatabase> newTable() = 0;

    // --- the dialect ---
    // The column type word for a field kind code and size ("" when none).
    virtual std::u16string fieldTypeText(int32_t kindCode, int32_t size) const = 0;
    // The keyword that changes a column's type in ALTER TABLE.
    virtual std::u16string alterColumnText(int32_t value) const = 0;
    // A select whose column "Name" lists the user tables.
    virtual std::u16string userTablesQuery() const = 0;
    // A select of every row and column of a table.
    virtual std::u16string selectAllText(std::u16string_view table) const = 0;
    // The literal of a date-time (days since 1899-12-30) in statements sent
    // to this database; nothing when the host's database connector makes it.
    virtual std::optional<std::string> dateTimeLiteral(double days) const { return std::nullopt; }

    // The folder where a database Access SQL names ([XLIB].Opening) is found.
    virtual void setWorkingFolder(std::string folder) = 0;
    // Definitions the database has taken but not made yet (views a server
    // could not make), each naming the object and why; none for a file.
    virtual std::vector<std::string> waitingDefinitions() const { return {}; }
};

}  // namespace orvdb::data
