// The MSysQueries rows of a saved query, as Access writes them. A select is
// one row per part of the statement (tables, joins, output columns, WHERE,
// GROUP BY, HAVING, ORDER BY) between a start and an end row; a union keeps
// the text of its two sides in two table rows. A Jet file keeps a query only
// as these rows, so a view must be stored so to survive a write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/format/codes.hpp"

namespace orvdb::engine {

struct SavedQueryRow {
    int attribute = 0;
    std::optional<std::string> expression;
    std::optional<int> flag;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
};

struct SavedQueryDefinition {
    ::orvdb::jet::QueryKind kind = ::orvdb::jet::QueryKind::Select;  // Select or Union
    std::vector<SavedQueryRow> rows;
};

// The definition of `sql`, a SELECT or a UNION of selects as CREATE VIEW
// takes them. A subquery in FROM is kept as a table row holding its text.
// Throws SqlError when the text does not parse or is not such a query.
SavedQueryDefinition savedQueryDefinition(const std::string& sql);

}  // namespace orvdb::engine
