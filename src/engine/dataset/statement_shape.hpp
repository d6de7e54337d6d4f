// The shape of a statement: its text with the number and text literals
// replaced by markers of their kind. Statements that differ only in those
// values share a shape, so one translation, prepared with SQLite parameters,
// serves them all; the values are bound on each run.
//
//   "SELECT Name FROM T WHERE ID = 12"  ->  key "S" "SELECT Name FROM T WHERE ID = " "\1i"
//                                           literals {12}
//
// The scan follows the lexer's token rules closely enough to find literals;
// where it differs it sees fewer of them, which only costs sharing: a
// literal becomes a parameter only when the parsed statement confirms it
// (see statement_parameters.hpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine {

// What a marker stands for. The kind decides the translation (an integer
// beyond 32 bits types as Double, a text literal may not be compared with a
// number column), so statements share a shape only with literals of the
// same kinds.
enum class LiteralKind : char {
    Integer = 'i',      // fits 32 bits: a Long
    WideInteger = 'w',  // fits 64 bits only: a Double in Jet's eyes, an integer in the store
    Real = 'r',         // with a point or an exponent; finite
    Text = 't',
};

struct ShapeLiteral {
    uint32_t begin = 0;  // byte offsets of the token in the statement
    uint32_t end = 0;
    LiteralKind kind = LiteralKind::Integer;
    int64_t integer = 0;
    double real = 0;
    std::string text;  // Text: the value, doubled quotes made single
};

struct StatementShape {
    std::string key;
    std::vector<ShapeLiteral> literals;  // in text order
};

// Fills shape (reusing its buffers) for sql. A text holding the marker
// bytes, or very many literals, is keyed as it is, with no literals.
void shapeStatement(std::string_view sql, StatementShape& shape);

// The key of sql where only the literals flagged in parameters are markers
// and the others stay as written: the statements that share it also share
// those literals' values.
void partialShapeKey(std::string_view sql, const StatementShape& shape,
                     const std::vector<bool>& parameters, std::string& key);

}  // namespace orvdb::engine
