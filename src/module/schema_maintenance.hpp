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

// Copies table oldName into newName, gives the copy the primary key
// ID_<newName> on its column ID, and re-creates every foreign key of
// MSysRelationships in which oldName refers or is referred to, against
// newName, under the relationship's name + "__X". With dropOld the old
// constraints are dropped before and the old table after; with dropNewFirst
// newName is dropped before the copy. Nothing happens when oldName does not
// exist.
void renameTable(iDatabase& db, std::u16string_view oldName, std::u16string_view newName,
                 bool dropOld, bool dropNewFirst);

// Adds newColumn of type columnType (a Jet type word), copies oldColumn into
// it and, with dropOld, drops oldColumn. The foreign keys in which
// table.oldColumn refers are re-created on newColumn (recreateKeys) or, with
// dropOld alone, dropped.
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
