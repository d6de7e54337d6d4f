#include "data/mariadb/column_types.hpp"

#include "engine/sql/translate/mariadb_dialect.hpp"

namespace orvdb::data::mariadb {

using engine::JetType;

std::string serverColumnType(const engine::ColumnDef& column) {
    return engine::sql::mariaDbColumnType(column);
}

std::optional<std::string> accessTypeOf(const ServerColumn& column) {
    if (column.comment.rfind(kAccessTypeComment, 0) == 0) {
        return column.comment.substr(kAccessTypeComment.size());
    }
    const std::string& type = column.dataType;
    bool isUnsigned = column.columnType.find("unsigned") != std::string::npos;
    if (type == "tinyint") {
        return column.columnType.rfind("tinyint(1)", 0) == 0 ? "BIT"
               : isUnsigned                                  ? "BYTE"
                                                             : "SHORT";
    }
    if (type == "smallint") {
        return isUnsigned ? "LONG" : "SHORT";
    }
    if (type == "int" || type == "mediumint" || type == "year") {
        return column.autoIncrement ? "COUNTER" : "LONG";
    }
    if (type == "bigint" || type == "double" || type == "real") {
        return "FLOAT";
    }
    if (type == "float") {
        return "REAL";
    }
    if (type == "decimal") {
        if (column.precision <= 28) {
            return "DECIMAL(" + std::to_string(column.precision) + ", " +
                   std::to_string(column.scale) + ")";
        }
        return "FLOAT";
    }
    if (type == "date" || type == "datetime" || type == "timestamp" || type == "time") {
        return "DATETIME";
    }
    if (type == "char" || type == "varchar") {
        return column.length <= 255 ? "VARCHAR(" + std::to_string(column.length) + ")" : "MEMO";
    }
    if (type == "binary" || type == "varbinary") {
        return column.length <= 255 ? "BINARY(" + std::to_string(column.length) + ")"
                                    : "LONGBINARY";
    }
    if (type == "tinytext" || type == "text" || type == "mediumtext" || type == "longtext" ||
        type == "enum" || type == "set" || type == "json") {
        return "MEMO";
    }
    if (type == "tinyblob" || type == "blob" || type == "mediumblob" || type == "longblob") {
        return "LONGBINARY";
    }
    return std::nullopt;
}

}  // namespace orvdb::data::mariadb
