// Rebuilds the Access SQL text of a saved query from its MSysQueries rows.
// Access keeps a query as rows by attribute: 1 the kind (and target table),
// 2 parameters, 3 options (DISTINCT, TOP, ...), 4 a remote database, 5 tables,
// 6 output columns, 7 joins, 8 WHERE, 9 GROUP BY, 10 HAVING, 11 ORDER BY.
// The text is laid out as Access's SQL view shows it: one clause per line
// (CR LF), ending with ";".
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "jet/format/codes.hpp"

namespace orvdb::jet {

struct QueryRow {
    uint8_t attribute = 0;
    std::optional<std::string> name1;
    std::optional<std::string> name2;
    std::optional<std::string> expression;
    std::optional<int16_t> flag;
    std::optional<int32_t> extra;  // LvExtra: the size of a Text parameter
};

struct QueryText {
    QueryKind kind = QueryKind::Select;
    std::string sql;
    std::string connect;  // pass-through queries: the ODBC connect string
};

// Thrown when the rows contradict themselves (unknown kind or join type,
// a join between tables the query does not have in a way SQL cannot say).
class QueryTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `objectFlags` are the query's MSysObjects flags; they give the kind when
// the rows have no kind row (Access omits it for some select queries).
QueryText buildQueryText(const std::vector<QueryRow>& rows, uint32_t objectFlags);

// Brackets a name unless it is made of letters, digits and underscores only.
std::string quoteIdentifier(std::string_view name);

}  // namespace orvdb::jet
