// The one runner of every upgrade table (catalogue.hpp). Statements run
// through the current query, which the caller has put in command mode, so a
// statement that fails is dropped and the step goes on; a step whose
// statements all fail still records its target.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "upgrade/catalogue.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

// Raised by the provider driver for a database older than any step handles.
class DatabaseTooOld : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A target as the single-precision number the versions are compared as.
float targetVersion(std::string_view target);

// Runs, in order, every step whose target lies above `version` (tolerance
// 0.000001), writing each target to Version once its rows have run, then
// every patch whose code `applied` lacks, recording each code once its rows
// have run. Returns how many steps and patches ran.
int runCatalogue(UpgradeSession& session, const UpgradeCatalogue& catalogue,
                 const AppliedCodes& applied, float version);

}  // namespace orvdb::upgrade
