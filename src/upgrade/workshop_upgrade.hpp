// The workshop data upgrade: the manager kind opened under the name XMANDATA
// (manufacturing maps, lines, workstations and their carts, machines,
// batches and launchings). Reads the version, runs the workshop steps and
// the final patches, and writes its log lines.
#pragma once

#include <orvdb/interfaces.hpp>

#include "upgrade/catalogue.hpp"
#include "upgrade/provider_upgrade.hpp"

namespace orvdb::upgrade {

// Steps 1.2 to 1.81; its closing checks are the final patches.
const UpgradeCatalogue& workshopCatalogue();

// The four repairs every upgrade runs, in a query level of their own: the
// WORKSHOP table and BatchArticles' external ids when missing, and
// FillingWorkstationFillings.GLOBAL_RULE made text whenever it exists.
void runWorkshopFinalPatches(UpgradeSession& session);

// Log: "Current Version: <5 decimals>", then "<n> mise(s) à jour
// efféctuée(s) avec succès", n counting the steps that ran. A version that
// cannot be read, or a failure outside a statement, travels out with the
// steps already run kept.
void runWorkshopUpgrade(iDatabase& database, UpgradeLog& log,
                        const UpgradeCatalogue& catalogue = workshopCatalogue());

}  // namespace orvdb::upgrade
