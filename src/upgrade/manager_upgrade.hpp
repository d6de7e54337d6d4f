// The manager-kind upgrades: the workshop data (the manager kind opened as
// XMANDATA) and the manager databases (manager_driver.hpp). The workshop
// steps are not built yet; until they are, its upgrade refuses clearly
// instead of pretending the database is current.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string>
#include <vector>

#include "upgrade/provider_upgrade.hpp"

namespace orvdb::upgrade {

void runWorkshopUpgrade(iDatabase& database, UpgradeLog& log);
void runManagerUpgrade(iDatabase& database, UpgradeLog& log, IInterface* rightsHost,
                       IInterface* hostObject);

// The texts the host hands to the manager kind before an upgrade (one list
// for the process, replaced as a whole).
void setManagerUpgradeStrings(std::vector<std::string> texts);
std::vector<std::string> managerUpgradeStrings();

}  // namespace orvdb::upgrade
