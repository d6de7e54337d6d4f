// Renames of a table or a column by copying, through a database's query
// stack: the schema maintenance exports run them, and so does the default
// database connector when an upgrade asks the host for a rename. Statements
// the engine rejects are dropped by the query cursor without a word, so a
// rename goes on after a failed step and may leave a partial result.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string_view>

namespace orvdb::host {

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

}  // namespace orvdb::host
