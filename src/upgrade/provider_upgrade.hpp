// The provider database upgrade (provider data, filling and hardware files):
// reads Version and ObjectVersion, refuses databases too old to upgrade, runs
// the provider catalogue and its named patches, and writes its log lines.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string>
#include <vector>

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

using UpgradeLog = std::vector<std::string>;

// The provider family's steps, patches and closing checks.
const UpgradeCatalogue& providerCatalogue();

// Throws host::EORV_DATABASEUPDATE or DatabaseTooOld for a database too old
// to upgrade; any other failure of a step also travels out, with the steps
// already run kept and the version row at the last completed one.
void runProviderUpgrade(iDatabase& database, UpgradeLog& log, const std::string& providerName,
                        const UpgradeCatalogue& catalogue = providerCatalogue());

}  // namespace orvdb::upgrade
