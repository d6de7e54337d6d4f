// The manager database upgrade (its steps and driver: manager_driver.hpp)
// and the texts the host hands the manager kind for it. The workshop data,
// the manager kind opened as XMANDATA, is workshop_upgrade.hpp.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string>
#include <vector>

#include "upgrade/provider_upgrade.hpp"

namespace orvdb::upgrade {

void runManagerUpgrade(iDatabase& database, UpgradeLog& log, IInterface* rightsHost,
                       IInterface* hostObject);

// The texts the host hands to the manager kind before an upgrade (one list
// for the process, replaced as a whole).
void setManagerUpgradeStrings(std::vector<std::string> texts);
std::vector<std::string> managerUpgradeStrings();

}  // namespace orvdb::upgrade
