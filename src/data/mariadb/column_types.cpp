#include "data/mariadb/column_types.hpp"

namespace orvdb::data::mariadb {

using engine::JetType;

std::string serverColumnType(const engine::ColumnDef& column) {
    switch (column.type) {
        case JetType::Boolean:
            return "BOOLEAN";
        case JetType::Byte:
            return "TINYINT UNSIGNED";
        case JetType::Integer:
            return "SMALLINT";
        case JetType::Long:
            return "INT";
        case JetType::Currency:
            return "DECIMAL(19,4)";
        case JetType::Single:
            return "FLOAT";
        case JetType::Double:
            return "DOUBLE";
        case JetType::DateTime:
            return "DATETIME";
        case JetType::Binary:
            return "VARBINARY(" + std::to_string(column.size) + ")";
        case JetType::Text:
            // Long texts would pass MariaDB's row size in wide tables; TEXT
            // does not count there and holds the same values.
            return column.size > 100 ? "TEXT" : "VARCHAR(" + std::to_string(column.size) + ")";
        case JetType::OLE:
            return "LONGBLOB";
        case JetType::Memo:
            return "LONGTEXT";
        case JetType::GUID:
            return "CHAR(38)";
        case JetType::Decimal:
            return "DECIMAL(" + std::to_string(column.precision) + "," +
                   std::to_string(column.scale) + ")";
    }
    return "INT";
}

std::string accessTypeWord(const engine::ColumnDef& column) {
    switch (column.type) {
        case JetType::Boolean:
            return "BIT";
        case JetType::Byte:
            return "BYTE";
        case JetType::Integer:
            return "SHORT";
        case JetType::Long:
            return column.autoNumber ? "COUNTER" : "LONG";
        case JetType::Currency:
            return "CURRENCY";
        case JetType::Single:
            return "REAL";
        case JetType::Double:
            return "FLOAT";
        case JetType::DateTime:
            return "DATETIME";
        case JetType::Binary:
            return "BINARY(" + std::to_string(column.size) + ")";
        case JetType::Text:
            return "VARCHAR(" + std::to_string(column.size) + ")";
        case JetType::OLE:
            return "LONGBINARY";
        case JetType::Memo:
            return "MEMO";
        case JetType::GUID:
            return "GUID";
        case JetType::Decimal:
            return "DECIMAL(" + std::to_string(column.precision) + ", " +
                   std::to_string(column.scale) + ")";
    }
    return "LONG";
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
