// The library database's one upgrade step (to version 0.5002): the ordering
// column [Position] of every user table that has one moves to ZV_Position.
#pragma once

#include <orvdb/interfaces.hpp>

namespace orvdb::kinds {

inline constexpr float kLibraryVersion = 0.5002f;

void runLibraryUpgrade(iDatabase& database);

}  // namespace orvdb::kinds
