#include "upgrade/step_runner.hpp"

#include <cstdio>

#include "base/names.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {

bool AppliedCodes::contains(std::string_view code) const {
    for (const std::string& applied : codes_) {
        if (base::sameName(applied, code)) {
            return true;
        }
    }
    return false;
}

namespace {

void runStatements(UpgradeSession& session, int count, const Statements& statements) {
    int available = static_cast<int>(statements.size());
    if (count > available) {
        throw std::out_of_range("upgrade step: " + std::to_string(count) +
                                " statements announced, " + std::to_string(available) +
                                " prepared");
    }
    for (int i = 0; i < count; ++i) {
        session.open(statements[static_cast<size_t>(i)]);
    }
}

std::string tooOldMessage(std::string_view databaseName, float version) {
    char number[64];
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(version));
    return "Your database " + std::string(databaseName) + " version (" + number + ") is too old";
}

}  // namespace

void UpdateVersion(UpgradeSession& session, float& version, int count, const Statements& statements,
                   float target) {
    if (!versionBelow(version, target)) {
        return;
    }
    runStatements(session, count, statements);
    session.open(versionUpdateSql(target));
    version = target;
}

void ApplyPatch(UpgradeSession& session, std::string_view code, const AppliedCodes& applied,
                int count, const Statements& statements) {
    if (applied.contains(code)) {
        return;
    }
    runStatements(session, count, statements);
    session.open("INSERT INTO ZV_VersionCode (zvCode) VALUES ('" + std::string(code) + "')");
}

void ScriptStep(UpgradeSession& session, const UpgradeCatalogue& catalogue, float& version,
                int number, std::string_view library, std::string_view procedure, bool /*flag*/,
                float target) {
    if (!versionBelow(version, target)) {
        return;
    }
    if (library == kNoLibrary && procedure == kNoProcedure) {
        for (const ScriptEntry& entry : catalogue.scripts) {
            if (entry.number == number && entry.routine) {
                entry.routine(session);
                break;
            }
        }
    }
    session.open(versionUpdateSql(target));
    version = target;
}

int runSteps(UpgradeSession& session, const UpgradeCatalogue& catalogue,
             std::string_view databaseName, const AppliedCodes& applied, float version) {
    if (host::TMathEx::PlusPetitOuEgal(version, kOldestUpgradableVersion)) {
        throw DatabaseTooOld(tooOldMessage(databaseName, version));
    }

    int done = 0;
    float running = version;
    for (const VersionStep& step : catalogue.steps) {
        if (!versionBelow(running, step.target)) {
            continue;
        }
        ++done;
        if (step.kind == VersionStep::Kind::Script) {
            ScriptStep(session, catalogue, running, step.script, kNoLibrary, kNoProcedure, false,
                       step.target);
        } else {
            // A plain step gets the running version by value: only scripts
            // raise it.
            float copy = running;
            Statements list = step.statements ? step.statements(session) : Statements{};
            UpdateVersion(session, copy, static_cast<int>(list.size()), list, step.target);
        }
    }
    for (const NamedPatch& patch : catalogue.patches) {
        if (patch.custom) {
            if (!applied.contains(patch.code)) {
                ++done;
            }
            patch.custom(session, applied);
            continue;
        }
        if (applied.contains(patch.code)) {
            continue;
        }
        ++done;
        Statements list = patch.statements ? patch.statements(session) : Statements{};
        ApplyPatch(session, patch.code, applied, static_cast<int>(list.size()), list);
    }
    return done;
}

}  // namespace orvdb::upgrade
