// SQL functions that need the store: autonumbers and @@IDENTITY.
#pragma once

#include <sqlite3.h>

namespace orvdb::engine {

class WorkingStore;

// jet_next_autonumber('<stored table>'), jet_note_autonumber('<stored table>',
// value) and jet_identity().
void registerStoreFunctions(sqlite3* db, WorkingStore& store);

}  // namespace orvdb::engine
