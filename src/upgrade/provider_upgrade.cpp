#include "upgrade/provider_upgrade.hpp"

#include <cstdio>

#include "data/database.hpp"
#include "host/exceptions.hpp"
#include "host/format.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "host/provider_method.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/upgrade_session.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {

namespace {

constexpr float kCurrentObjectVersion = 0.8002f;
constexpr float kFirstVersionWithCodes = 0.3605f;
constexpr float kOldestObjectVersion = 0.8f;
// The oldest version the steps can start from.
constexpr float kOldestUpgradableVersion = 0.35834f;

std::string fiveDecimals(double value) {
    return host::TFormat::FloatToStrFormated(value, 5);
}

std::string tooOldMessage(std::string_view databaseName, float version) {
    char number[64];
    std::snprintf(number, sizeof number, "%.2f", static_cast<double>(version));
    return "Your database " + std::string(databaseName) + " version (" + number + ") is too old";
}

// Views of the provider database read the library database by a name
// relative to the library folder: the connection resolves such names there.
// Only this connection is told; the process keeps its working directory.
void useLibraryFolder(iDatabase& database) {
    auto* connection = dynamic_cast<data::torvc_Database*>(&database);
    std::string folder = host::registry()->get(host::registry_entry::kLibraryFolder);
    if (connection == nullptr || folder.empty()) {
        return;
    }
    connection->setWorkingFolder(host::resolvePath(folder));
}

// Views the server could not make by the end fail the upgrade, each named
// with why: they would otherwise be lost with the connection.
void requireEveryView(iDatabase& database, const std::string& providerName) {
    auto* connection = dynamic_cast<data::torvc_Database*>(&database);
    if (connection == nullptr) {
        return;
    }
    std::vector<std::string> waiting = connection->backend().waitingDefinitions();
    if (waiting.empty()) {
        return;
    }
    std::string message = "The upgrade of provider " + providerName +
                          " left views its database server could not make:";
    for (const std::string& view : waiting) {
        message += "\n" + view;
    }
    throw host::EORV_DATABASEUPDATE(message);
}

}  // namespace

void runProviderUpgrade(iDatabase& database, UpgradeLog& log, const std::string& providerName,
                        const UpgradeCatalogue& catalogue) {
    useLibraryFolder(database);
    log.push_back("Providername: " + providerName);

    UpgradeSession session(database);
    {
        QueryLevel level(session);
        float version = 0;
        float objectVersion = 0;
        if (session.open("SELECT Version, ObjectVersion FROM Version")) {
            version = roundVersion(session.fieldFloat("Version"));
            objectVersion = roundVersion(session.fieldFloat("ObjectVersion"));
        }
        log.push_back("Current Version: " + fiveDecimals(version));

        AppliedCodes applied;
        if (!versionBelow(version, kFirstVersionWithCodes)) {
            for (bool row = session.open("SELECT zvCode FROM ZV_VersionCode");
                 row && session.active(); session.next()) {
                applied.add(session.fieldText("zvCode"));
            }
        }

        session.setCommandMode();
        bool tooOld = host::TMathEx::PlusPetitOuEgal(version, kOldestUpgradableVersion);
        if (tooOld && !host::TMathEx::PlusGrandOuEgal(objectVersion, kOldestObjectVersion)) {
            throw host::EORV_DATABASEUPDATE(
                "The database of provider " + providerName + " is at version " +
                fiveDecimals(version) + " (objects " + fiveDecimals(objectVersion) +
                "); it cannot be upgraded to version " + std::string(catalogue.current()) +
                " (objects " + fiveDecimals(kCurrentObjectVersion) + ") from there");
        }
        if (tooOld) {
            throw DatabaseTooOld(tooOldMessage(providerName, version));
        }
        int done = runCatalogue(session, catalogue, applied, version);
        log.push_back(std::to_string(done) + " mise(s) à jour efféctuée(s) avec succès");
    }
    host::TProviderMethod::InitCaches(&database);
    if (catalogue.closingChecks) {
        catalogue.closingChecks(session);
    }
    requireEveryView(database, providerName);
    log.push_back("");
}

}  // namespace orvdb::upgrade
