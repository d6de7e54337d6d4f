// The statements the suite sends a MariaDB database: its user-table query
// against the Jet catalog becomes the same question to the server's
// catalog; Access SQL is written again in the server's dialect; a text the
// Access parser refuses passes unchanged, as the server's own SQL (the suite
// writes some for server databases). Access SQL the server cannot express
// raises, naming the statement.
//
// Views follow Access's rules: a CREATE VIEW the server refuses because a
// table, column or view it reads does not exist yet succeeds, the view
// waiting in the session until a later definition statement lets the server
// make it; reading a waiting view raises, naming it and why it waits. A view
// that reads `*` is made again when a table it reads changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/mariadb/session.hpp"

namespace orvdb::data::mariadb {

// The server's text of a select (for the backend's own questions).
std::string serverStatement(std::string_view sql, Session& session);

// Runs a select; an action statement runs and then raises, as the engine
// does for one opened as a select.
engine::QueryResult queryOnServer(std::string_view sql, Session& session);

// Runs an action or definition statement; the number of rows it changed.
int64_t executeOnServer(std::string_view sql, Session& session);

}  // namespace orvdb::data::mariadb
