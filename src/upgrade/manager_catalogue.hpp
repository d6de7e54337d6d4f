// The manager database's version steps, 1.1 to 2.18, in run order.
#pragma once

#include <span>

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

std::span<const UpgradeRow> managerSteps();

// Steps and blocks; the manager family has no named patches (its final
// patches carry no code and run on every upgrade, see manager_driver.hpp).
const UpgradeCatalogue& managerCatalogue();

// Step 1.23: every one of the 36 operations granted to user group 2 for each
// node type 1 to 15 (540 rows).
void grantEveryOperation(UpgradeSession& session);

}  // namespace orvdb::upgrade
