// A value as the working store holds it, for code that moves values without
// SQL (table cursors, the catalog, the codec bridge). The alternatives mirror
// SQLite's storage classes: Null, INTEGER, REAL, TEXT (UTF-8), BLOB.
#pragma once

#include "engine/jet_types.hpp"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orvdb::engine {

using SqlValue = std::variant<std::monostate, int64_t, double, std::string, std::vector<uint8_t>>;

inline bool isNull(const SqlValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

// The value of column i of the current row of a SQLite statement.
SqlValue readColumnValue(sqlite3_stmt* statement, int column);

// The text form of a value: "" for Null, integers in decimal, REALs as
// formatJetNumber writes them, text unchanged, blobs byte for byte.
std::string valueToText(const SqlValue& value);

// The same when the column type is known: DateTime prints as formatJetDate,
// Boolean as "True"/"False" (as CStr does), Single as the shortest text of the
// float. Other types as above.
std::string valueToText(const SqlValue& value, JetType type);

}  // namespace orvdb::engine
