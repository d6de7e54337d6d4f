// Built-in scripts of the provider steps: the steps that must ask the
// database something before they change it.
#pragma once

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

// Script 15: gives the two value-list tables that lack it their [Position]
// column, numbered like their IDs.
void addMissingPositionColumns(UpgradeSession& session);

}  // namespace orvdb::upgrade
