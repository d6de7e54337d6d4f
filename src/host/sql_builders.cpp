#include "host/sql_builders.hpp"

namespace orvdb::host {

std::string Get_SQL_FOREIGNKEY(std::string_view table, std::string_view column,
                               std::string_view referencedTable, std::string_view referencedColumn,
                               std::string_view constraintName) {
    std::string sql = "ALTER TABLE ";
    sql.append(table).append(" ADD CONSTRAINT ").append(constraintName);
    sql.append(" FOREIGN KEY (").append(column).append(") REFERENCES ");
    sql.append(referencedTable).append("(").append(referencedColumn).append(")");
    return sql;
}

std::string Get_SQL_INDEX(std::string_view table, std::string_view indexName,
                          std::string_view columns, bool unique, bool primary) {
    std::string sql = unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql.append(indexName).append(" ON ").append(table);
    sql.append("(").append(columns).append(")");
    if (primary) {
        sql.append(" WITH PRIMARY");
    }
    return sql;
}

std::string Get_CREATE_TABLE(std::string_view table, const std::vector<std::string>& definitions) {
    std::string sql = "CREATE TABLE ";
    sql.append(table).append(" (");
    for (size_t i = 0; i < definitions.size(); ++i) {
        if (i > 0) {
            sql.append(", ");
        }
        sql.append(definitions[i]);
    }
    sql.append(")");
    return sql;
}

std::string Get_SQL_CREATEVIEW(std::string_view view, std::string_view selectText) {
    std::string sql = "CREATE VIEW ";
    sql.append(view).append(" AS ").append(selectText);
    return sql;
}

std::string Get_SQL_DROPTABLE(std::string_view name) {
    return "DROP TABLE " + std::string(name);
}

std::string Get_SQL_String(std::string_view text) {
    std::string literal = "'";
    for (char c : text) {
        literal.push_back(c);
        if (c == '\'') {
            literal.push_back('\'');
        }
    }
    literal.push_back('\'');
    return literal;
}

}  // namespace orvdb::host
