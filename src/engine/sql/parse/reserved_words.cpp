#include "engine/sql/parse/reserved_words.hpp"

#include <array>
#include <iterator>

namespace orvdb::engine::sql {

namespace {

// Jet 4.0 reserved words. Through the OLE DB provider Jet runs in ANSI-92
// mode, where the SQL-92 reserved words cannot be unquoted names either; to
// those come Jet's own keywords (DISTINCTROW, TOP, MOD, XOR, PIVOT, ...).
// Jet's type words (LONG, TEXT, MEMO, SHORT, ...) and function names that are
// not SQL-92 words stay usable as names; a reserved word directly followed
// by "(" can still be a function call (Left(...), Year(...)). Sorted.
constexpr std::string_view kReserved[] = {
    "ABSOLUTE",
    "ACTION",
    "ADD",
    "ALIAS",
    "ALL",
    "ALLOCATE",
    "ALTER",
    "AND",
    "ANY",
    "ARE",
    "AS",
    "ASC",
    "ASSERTION",
    "AT",
    "AUTHORIZATION",
    "AVG",
    "BEGIN",
    "BETWEEN",
    "BIT",
    "BIT_LENGTH",
    "BOTH",
    "BY",
    "CASCADE",
    "CASCADED",
    "CASE",
    "CAST",
    "CATALOG",
    "CHAR",
    "CHARACTER",
    "CHARACTER_LENGTH",
    "CHAR_LENGTH",
    "CHECK",
    "CLOSE",
    "COALESCE",
    "COLLATE",
    "COLLATION",
    "COLUMN",
    "COMMIT",
    "CONNECT",
    "CONNECTION",
    "CONSTRAINT",
    "CONSTRAINTS",
    "CONTINUE",
    "CONVERT",
    "CORRESPONDING",
    "COUNT",
    "CREATE",
    "CROSS",
    "CURRENT",
    "CURRENT_DATE",
    "CURRENT_TIME",
    "CURRENT_TIMESTAMP",
    "CURRENT_USER",
    "CURSOR",
    "DATE",
    "DAY",
    "DEALLOCATE",
    "DEC",
    "DECIMAL",
    "DECLARE",
    "DEFAULT",
    "DEFERRABLE",
    "DEFERRED",
    "DELETE",
    "DESC",
    "DESCRIBE",
    "DESCRIPTOR",
    "DIAGNOSTICS",
    "DISALLOW",
    "DISCONNECT",
    "DISTINCT",
    "DISTINCTROW",
    "DOMAIN",
    "DOUBLE",
    "DROP",
    "ELSE",
    "END",
    "END-EXEC",
    "EQV",
    "ESCAPE",
    "EXCEPT",
    "EXCEPTION",
    "EXEC",
    "EXECUTE",
    "EXISTS",
    "EXTERNAL",
    "EXTRACT",
    "FALSE",
    "FETCH",
    "FIRST",
    "FLOAT",
    "FOR",
    "FOREIGN",
    "FOUND",
    "FROM",
    "FULL",
    "GET",
    "GLOBAL",
    "GO",
    "GOTO",
    "GRANT",
    "GROUP",
    "HAVING",
    "HOUR",
    "IDENTITY",
    "IMMEDIATE",
    "IMP",
    "IN",
    "INDICATOR",
    "INITIALLY",
    "INNER",
    "INPUT",
    "INSENSITIVE",
    "INSERT",
    "INT",
    "INTEGER",
    "INTERSECT",
    "INTERVAL",
    "INTO",
    "IS",
    "ISOLATION",
    "JOIN",
    "KEY",
    "LANGUAGE",
    "LAST",
    "LEADING",
    "LEFT",
    "LEVEL",
    "LIKE",
    "LOCAL",
    "LOWER",
    "MATCH",
    "MAX",
    "MIN",
    "MINUTE",
    "MOD",
    "MODULE",
    "MONTH",
    "NAMES",
    "NATIONAL",
    "NATURAL",
    "NCHAR",
    "NEXT",
    "NO",
    "NOT",
    "NULL",
    "NULLIF",
    "NUMERIC",
    "OCTET_LENGTH",
    "OF",
    "ON",
    "ONLY",
    "OPEN",
    "OPTION",
    "OR",
    "ORDER",
    "OUTER",
    "OUTPUT",
    "OVERLAPS",
    "OWNERACCESS",
    "PAD",
    "PARAMETERS",
    "PARTIAL",
    "PERCENT",
    "PIVOT",
    "POSITION",
    "PRECISION",
    "PREPARE",
    "PRESERVE",
    "PRIMARY",
    "PRIOR",
    "PRIVILEGES",
    "PROCEDURE",
    "PUBLIC",
    "READ",
    "REAL",
    "REFERENCES",
    "RELATIVE",
    "RESTRICT",
    "REVOKE",
    "RIGHT",
    "ROLLBACK",
    "ROWS",
    "SCHEMA",
    "SCROLL",
    "SECOND",
    "SECTION",
    "SELECT",
    "SESSION",
    "SESSION_USER",
    "SET",
    "SIZE",
    "SMALLINT",
    "SOME",
    "SPACE",
    "SQL",
    "SQLCODE",
    "SQLERROR",
    "SQLSTATE",
    "SUBSTRING",
    "SUM",
    "SYSTEM_USER",
    "TABLE",
    "TEMPORARY",
    "THEN",
    "TIME",
    "TIMESTAMP",
    "TIMEZONE_HOUR",
    "TIMEZONE_MINUTE",
    "TO",
    "TOP",
    "TRAILING",
    "TRANSACTION",
    "TRANSFORM",
    "TRANSLATE",
    "TRANSLATION",
    "TRIM",
    "TRUE",
    "UNION",
    "UNIQUE",
    "UNKNOWN",
    "UPDATE",
    "UPPER",
    "USAGE",
    "USER",
    "USING",
    "VALUE",
    "VALUES",
    "VARCHAR",
    "VARYING",
    "VIEW",
    "WHEN",
    "WHENEVER",
    "WHERE",
    "WITH",
    "WORK",
    "WRITE",
    "XOR",
    "YEAR",
    "ZONE",
};

}  // namespace

bool isReservedWord(std::string_view word) {
    // Most names are rejected on their first letter and length without
    // folding the whole word.
    if (word.size() < 2 || word.size() > 17) {
        return false;
    }
    char first = word[0];
    if (first >= 'a' && first <= 'z') {
        first = static_cast<char>(first - 32);
    }
    if (first < 'A' || first > 'Z') {
        return false;
    }
    struct Range {
        const std::string_view* begin;
        const std::string_view* end;
    };
    static const auto ranges = [] {
        std::array<Range, 26> byLetter{};
        for (auto& range : byLetter) {
            range = {std::end(kReserved), std::end(kReserved)};
        }
        for (const std::string_view* entry = std::begin(kReserved); entry != std::end(kReserved);
             ++entry) {
            Range& range = byLetter[static_cast<size_t>((*entry)[0] - 'A')];
            if (range.begin == std::end(kReserved)) {
                range.begin = entry;
            }
            range.end = entry + 1;
        }
        return byLetter;
    }();
    const Range& range = ranges[static_cast<size_t>(first - 'A')];
    for (const std::string_view* entry = range.begin; entry != range.end; ++entry) {
        if (entry->size() != word.size()) {
            continue;
        }
        size_t i = 1;
        for (; i < word.size(); ++i) {
            char c = word[i];
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 32);
            }
            if (c != (*entry)[i]) {
                break;
            }
        }
        if (i == word.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace orvdb::engine::sql
