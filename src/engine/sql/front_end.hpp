// The Access SQL front end: parse a statement, translate it to SQLite SQL for
// the working store.
//
//   Statement st = parseStatement("SELECT Name FROM [Language] WHERE Id=3");
//   Translation tr = translate(st, catalog);   // tr.sql runs on the store
//
// Both raise SqlError with Jet's wording. Definitions (CREATE/ALTER/DROP) are
// only parsed: the catalog carries out their AST.
//
// The SQL a translation emits calls the engine's SQLite functions (jet_*),
// the JETTEXT collation on every comparison, grouping and ordering term, and
// for inserts jet_coerce / jet_next_autonumber / jet_note_autonumber.
#pragma once

#include "engine/jet_types.hpp"
#include "engine/sql/parse/ast.hpp"
#include "engine/sql/translate/schema_resolver.hpp"
#include "engine/sql_value.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine::sql {

Statement parseStatement(std::string_view sql);

// One output column of a query.
struct ResultColumn {
    ColumnDef column;        // column.name is Jet's name for it ("Name", "T1.Id", "Expr1000")
    bool typeKnown = false;  // false: decide the type from the values
    std::string baseTable;   // for a column reference: the table (catalog name)
    std::string baseColumn;  // and its column
};

enum class StatementKind : uint8_t {
    Select,
    SelectInto,  // sql is the SELECT that fills the new table
    Insert,
    Update,
    Delete,
    Definition,  // CREATE / ALTER / DROP: nothing to run, the catalog executes the AST
};

struct Translation {
    StatementKind kind = StatementKind::Select;
    std::string sql;
    std::vector<ResultColumn> columns;  // Select, SelectInto: the output columns in order
    // SelectInto: the table to create (as written); Insert/Update/Delete: the
    // catalog name of the table changed.
    std::string targetTable;
    // Catalog names of the tables and saved queries the statement reads or
    // changes (saved queries also with what they read): a cached translation
    // is stale once one of them is redefined.
    std::vector<std::string> dependencies;
    // Declared PARAMETERS the statement uses (also through saved queries): no
    // values are ever supplied, so running it raises Jet's missing-value error.
    std::vector<std::string> parametersUsed;
    // A crosstab without an IN list (also through a saved query) took its
    // columns from the data: the translation holds only until the data changes.
    bool columnsFromData = false;
    // A table of another database file is read ([database].table): what that
    // names depends on the connection's working folder and on the other file,
    // so the translation is made again at each use.
    bool readsOtherDatabase = false;

    bool translateAtEachUse() const { return columnsFromData || readsOtherDatabase; }
};

// Runs a SQLite SELECT on the store and returns the values of its first
// column, in order. A crosstab without an IN list learns its pivot values so.
using PivotValueReader = std::function<std::vector<SqlValue>(const std::string& sqliteSql)>;

// Without a reader, a crosstab that needs its pivot values raises SqlError.
Translation translate(const Statement& statement, const SchemaResolver& schema,
                      const PivotValueReader* reader = nullptr);

// Parses and translates in one step.
Translation translate(std::string_view sql, const SchemaResolver& schema,
                      const PivotValueReader* reader = nullptr);

// A lone expression such as a column's default value, parsed as Access SQL.
Expr parseExpression(std::string_view text);

// The Access SQL to save for a CREATE VIEW statement: its SELECT as written,
// or, when the statement lists column names, the SELECT with those names as
// the aliases of its columns.
std::string viewDefinitionSql(const Statement& createView);

}  // namespace orvdb::engine::sql
