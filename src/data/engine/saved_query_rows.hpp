// The MSysQueries rows of a saved select query, as Access writes them: one
// row per part of the statement (tables, joins, output columns, WHERE, GROUP
// BY, HAVING, ORDER BY) between a start and an end row. A Jet file keeps a
// query only as these rows, so a view must be stored so to survive a write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvdb::engine {

struct SavedQueryRow {
    int attribute = 0;
    std::optional<std::string> expression;
    std::optional<int> flag;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
};

// The rows of `selectSql` (a single SELECT; unions and subqueries in FROM
// give only the start, kind and end rows). Throws SqlError when the text does
// not parse.
std::vector<SavedQueryRow> savedQueryRows(const std::string& selectSql);

}  // namespace orvdb::engine
