// The SQL functions that give SQLite Jet's expression semantics, named
// jet_<Access name in lower case> (jet_mid, jet_dateadd, ...), plus the
// operators the translator maps to functions (jet_concat for &, jet_add for
// +, jet_div, jet_intdiv, jet_mod, jet_pow, jet_like, jet_not, jet_bool), the
// aggregates jet_first, jet_last, jet_stdev, jet_stdevp, jet_var and
// jet_varp, and jet_coerce for values stored into columns. Errors carry Jet's
// messages. The collation JETTEXT is registered apart (jet_collation.hpp).
#pragma once

#include "engine/functions/jet_collation.hpp"

#include <sqlite3.h>

namespace orvdb::engine {

// Registers every function on the connection. Throws EngineError naming the
// function SQLite refused.
void registerJetFunctions(sqlite3* db);

}  // namespace orvdb::engine
