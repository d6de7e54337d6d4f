// Which literals of a parsed statement may become SQL parameters: those
// whose value the translation only carries to SQLite, never reads.
//
// The rule is deliberately narrow: a number or text literal (optionally
// negated) that is the right-hand side of a comparison (= <> < > <= >=) in a
// WHERE or ON condition, a value of INSERT ... VALUES, or the value of an
// UPDATE assignment. Literals elsewhere (TOP, IN lists, Between bounds,
// function arguments such as DateAdd's interval or Format's pattern, the
// select list, HAVING) stay in the translated text. SELECT ... INTO and
// definitions get no parameters.
#pragma once

#include "engine/dataset/statement_shape.hpp"
#include "engine/sql/parse/ast.hpp"

#include <vector>

namespace orvdb::engine {

// Sets Expr::parameter (the literal's position in shape.literals, from 1) on
// each confirmed literal of statement, whose spans point into the text that
// shape was made from. Returns, per literal of the shape, whether it became
// a parameter.
std::vector<bool> markParameters(sql::Statement& statement, const StatementShape& shape);

}  // namespace orvdb::engine
