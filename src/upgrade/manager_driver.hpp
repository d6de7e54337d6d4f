// The manager database upgrade: reads the version, runs the manager steps
// and blocks above it, checks that the run went past 2.18, then runs the
// final patches.
#pragma once

#include <orvdb/interfaces.hpp>

#include <stdexcept>
#include <string>
#include <vector>

#include "upgrade/catalogue.hpp"
#include "upgrade/manager_upgrade.hpp"

namespace orvdb::upgrade {

// The run ended at or below 2.18: the steps that widen the node names and
// add the barcode tables would be missing.
class ManagerCatalogueIncomplete : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Entry 23 of the upgrade strings with every "(5035)" removed; throws
// std::out_of_range naming what is missing when there are fewer than 24.
std::string administratorName(const std::vector<std::string>& upgradeStrings);

// `rightsHost` is asked for IRightsManager; without one (or without a
// rightsHost) the host service's rights management takes the groups.
// `hostObject` is held for the run. The administrator's name comes from the
// upgrade strings the host handed the manager kind. Every failure outside
// statements travels out, with the versions recorded so far kept.
void runManagerUpgrade(iDatabase& database, UpgradeLog& log, IInterface* rightsHost,
                       IInterface* hostObject, const UpgradeCatalogue& catalogue);

}  // namespace orvdb::upgrade
