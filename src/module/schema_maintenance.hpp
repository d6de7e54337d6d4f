// Schema changes the host asks for without writing Jet SQL itself. Each runs
// through the database's query stack and pops what it pushed. Statements the
// engine rejects are dropped by the query cursor without a word, so an
// operation goes on after a failed step and may leave a partial result;
// failures of the stack itself raise.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string>
#include <string_view>

namespace orvdb::module {

// The renames of host/schema_renames.hpp (shared with the default database
// connector, which upgrades ask for renames).
void renameTable(iDatabase& db, std::u16string_view oldName, std::u16string_view newName,
                 bool dropOld, bool dropNewFirst);

void renameColumn(iDatabase& db, std::u16string_view table, std::u16string_view oldColumn,
                  std::u16string_view newColumn, std::u16string_view columnType, bool dropOld,
                  bool recreateKeys);

// Deletes every row and declares the column Id a counter again.
void flushTable(iDatabase& db, std::u16string_view table);

// MySQL's switch for constraint checks, sent as a select; Access has no such
// statement and rejects it quietly.
void setForeignKeyChecks(iDatabase& db, bool enabled);

// Whether folder + name + ".mdb" is a file (a separator is added to a
// non-empty folder that has none).
bool databaseFileExists(IServerInfo& description);

}  // namespace orvdb::module
