// Access SQL written again in MariaDB's dialect, for a database kept on a
// MariaDB server: the statement's tree (from the parser) out as MariaDB text
// with backquoted names, the server's column types, CONCAT for &, IF for
// IIf and the server's names of Access's functions. What the server cannot
// express raises an SqlError naming the statement, never a guess.
#pragma once

#include "engine/jet_types.hpp"
#include "engine/sql/parse/ast.hpp"

#include <string>

namespace orvdb::engine::sql {

// What the text of a statement depends on in the server's schema.
class MariaDbSchema {
public:
    virtual ~MariaDbSchema() = default;
    // The server's spelling of a table or view (names are case-sensitive
    // there, not in Access); the name as given when there is none.
    virtual std::string tableName(const std::string& name) const = 0;
    virtual bool isView(const std::string& name) const = 0;
    // Whether the column is a TEXT or BLOB on the server: an index takes a
    // prefix of it.
    virtual bool isLongColumn(const std::string& table, const std::string& column) const = 0;
    // Whether the name is that of the table's primary key (the server calls
    // every primary key PRIMARY).
    virtual bool isPrimaryKey(const std::string& table, const std::string& name) const = 0;
    // Whether the name is that of a foreign key of the table that has an
    // index of the same name (which Access drops with the relationship).
    virtual bool isForeignKeyWithIndex(const std::string& table, const std::string& name) const = 0;
    // A select the server reads in place of one of Access's catalog tables
    // (MSysRelationships ...); empty for any other name.
    virtual std::string catalogTable(const std::string& name) const = 0;
    // The server's database holding the other database Access SQL names
    // ([XLIB].Opening) and its spelling of the table there; raises, saying
    // why, when that database is not on this server.
    struct OtherTable {
        std::string database;
        std::string table;
    };
    virtual OtherTable otherDatabaseTable(const std::string& database,
                                          const std::string& table) const = 0;
};

// The comment prefix that keeps a column's Access declaration on the server,
// and the table comment that keeps the name of its primary key.
inline constexpr std::string_view kMariaDbAccessTypeComment = "access:";
inline constexpr std::string_view kMariaDbPrimaryKeyComment = "access primary key: ";
// The comment of the key the server needs on an autonumber column that
// Access does not index: no index of the Access table.
inline constexpr std::string_view kMariaDbCounterKeyComment = "access: counter key";
// The options of every table made on the server.
inline constexpr std::string_view kMariaDbTableOptions =
    " ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_uca1400_nopad_as_ci";

// `name`, a backquote inside doubled.
std::string mariaDbName(std::string_view name);
// 'text' with MariaDB's escapes (quote doubled, backslash escaped).
std::string mariaDbText(std::string_view text);

// The server's column type of an Access column (without NULL or AUTO_INCREMENT).
std::string mariaDbColumnType(const ColumnDef& column);
// A whole column declaration: name, type, NOT NULL, AUTO_INCREMENT, a
// default the server reads the same, and the Access declaration in the comment.
std::string mariaDbColumnDeclaration(const ColumnDef& column);

// The statement in MariaDB's dialect.
std::string toMariaDb(const Statement& statement, const MariaDbSchema& schema);

}  // namespace orvdb::engine::sql
