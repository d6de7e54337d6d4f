// The library database's upgrade: one step (to version 0.5002), run by the
// upgrade runner as a table of its own. The ordering column [Position] of
// every user table that has one moves to ZV_Position.
#pragma once

#include <orvdb/interfaces.hpp>

#include "upgrade/catalogue.hpp"

namespace orvdb::kinds {

const upgrade::UpgradeCatalogue& libraryCatalogue();

void runLibraryUpgrade(iDatabase& database);

}  // namespace orvdb::kinds
