// What the SQL translator needs to know of the database it translates for.
// The catalog implements it; tests can implement it over a fixed schema.
#pragma once

#include "engine/jet_types.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine::sql {

struct ResolvedTable {
    std::string name;                // the name as the catalog spells it
    std::string storedName;          // the table's name in the working store (quote it)
    std::vector<ColumnDef> columns;  // in column order
};

struct ResolvedView {
    std::string name;
    std::string accessSql;  // the saved query's Access SQL, to be inlined as a subquery
};

class SchemaResolver {
public:
    virtual ~SchemaResolver() = default;
    // Names compare without regard to case (Unicode case folding); nullopt
    // when there is no such table (or view).
    virtual std::optional<ResolvedTable> findTable(std::string_view name) const = 0;
    virtual std::optional<ResolvedView> findView(std::string_view name) const = 0;
    // A statement's translation begins; `changesData` when it inserts,
    // updates or deletes (or defines), so that the tables it names must be
    // changeable, not only readable.
    virtual void statementBegins(bool changesData) const { (void)changesData; }
    // A table of another database file, named in FROM as [database].table.
    // Raises SqlError when the file cannot be read; nullopt when it has no
    // such table. This database's own catalog knows no other database.
    virtual std::optional<ResolvedTable> findExternalTable(std::string_view database,
                                                           std::string_view table) const {
        (void)database;
        (void)table;
        return std::nullopt;
    }
};

}  // namespace orvdb::engine::sql
