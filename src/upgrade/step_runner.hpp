// The step mechanics shared by every upgrade: a version step runs its
// statements when the database is below its target and records the target;
// a named patch runs once and records its code; a script step runs a
// built-in routine. Statements run through the current query in command
// mode, so a statement that fails is dropped and the step goes on.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "upgrade/catalogue.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

// Raised by the step runner for a database older than any step handles.
class DatabaseTooOld : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void UpdateVersion(UpgradeSession& session, float& version, int count, const Statements& statements,
                   float target);

void ApplyPatch(UpgradeSession& session, std::string_view code, const AppliedCodes& applied,
                int count, const Statements& statements);

// Runs script `number` of the catalogue only for the built-in library and
// procedure names; any other pair, or a number the catalogue lacks, does
// nothing (the version is still recorded). The flag has no effect.
void ScriptStep(UpgradeSession& session, const UpgradeCatalogue& catalogue, float& version,
                int number, std::string_view library, std::string_view procedure, bool flag,
                float target);

// The oldest version the steps can start from.
inline constexpr float kOldestUpgradableVersion = 0.35834f;

// Refuses a database at kOldestUpgradableVersion or below, then runs every
// step in order and then every patch. Returns how many steps and patches
// did their work.
int runSteps(UpgradeSession& session, const UpgradeCatalogue& catalogue,
             std::string_view databaseName, const AppliedCodes& applied, float version);

}  // namespace orvdb::upgrade
