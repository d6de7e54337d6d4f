// How a column of an Access table is declared on a MariaDB server, and how
// a server column reads back as an Access column.
#pragma once

#include <optional>
#include <string>

#include "engine/jet_types.hpp"

namespace orvdb::data::mariadb {

// The prefix of the column comment that keeps the Access type on the server.
inline constexpr std::string_view kAccessTypeComment = "access:";

// The MariaDB column type of an Access column (without NULL / AUTO_INCREMENT).
std::string serverColumnType(const engine::ColumnDef& column);

// The Access DDL word of a column ("VARCHAR(50)", "COUNTER", "DECIMAL(18, 2)").
std::string accessTypeWord(const engine::ColumnDef& column);

// What a server column is in Access: from the comment an orvdb copy left,
// else from the server's type. nullopt for types Access has no column for.
struct ServerColumn {
    std::string name;
    std::string dataType;    // information_schema DATA_TYPE, lower case
    std::string columnType;  // information_schema COLUMN_TYPE
    int64_t length = 0;      // CHARACTER_MAXIMUM_LENGTH
    int precision = 0;
    int scale = 0;
    bool autoIncrement = false;
    bool nullable = true;
    std::string comment;
};
std::optional<std::string> accessTypeOf(const ServerColumn& column);

}  // namespace orvdb::data::mariadb
