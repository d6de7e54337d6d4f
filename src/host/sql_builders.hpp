// SQL text builders the upgrade steps use (the host's TDatabaseStructure).
// Each returns one Access SQL statement; nothing is executed here. Names are
// written as given: callers that need brackets ("[Language]") pass them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

// "ALTER TABLE t ADD CONSTRAINT name FOREIGN KEY (c) REFERENCES rt(rc)"
std::string Get_SQL_FOREIGNKEY(std::string_view table, std::string_view column,
                               std::string_view referencedTable, std::string_view referencedColumn,
                               std::string_view constraintName);

// "CREATE [UNIQUE] INDEX name ON t(cols) [WITH PRIMARY]"; columns is the
// column list as written ("Ref1, Ref3").
std::string Get_SQL_INDEX(std::string_view table, std::string_view indexName,
                          std::string_view columns, bool unique, bool primary);

// "CREATE TABLE t (def1, def2, ...)" with the definitions in order.
std::string Get_CREATE_TABLE(std::string_view table, const std::vector<std::string>& definitions);

std::string Get_SQL_CREATEVIEW(std::string_view view, std::string_view selectText);
std::string Get_SQL_DROPTABLE(std::string_view name);

// The text as an SQL string literal: single quotes, embedded quotes doubled.
std::string Get_SQL_String(std::string_view text);

}  // namespace orvdb::host
