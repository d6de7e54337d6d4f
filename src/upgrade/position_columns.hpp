// The move of the ordering column [Position] to ZV_Position in every user
// table that has one: the library's upgrade step, and part of the provider
// renames to the ZV_ names.
#pragma once

#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

// For each user table (MSysObjects, tables container, Flags 0, Type 1) whose
// probe "SELECT [Position] FROM <name>" runs: add ZV_Position LONG, copy
// [Position] into it, drop [Position]. Names go in without brackets, so a
// table whose name needs them fails its probe and keeps its column.
void movePositionColumns(UpgradeSession& session);

}  // namespace orvdb::upgrade
