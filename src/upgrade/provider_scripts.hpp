// Built-in scripts of the provider steps (those whose work is more than a
// fixed statement list).
#pragma once

#include <string_view>

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

// The statements that give a value-list table its [Position] column.
Statements positionColumnStatements(std::string_view table);

// Script 15: adds [Position] to the two value-list tables that lack it.
void scriptPositionColumns(UpgradeSession& session);

}  // namespace orvdb::upgrade
