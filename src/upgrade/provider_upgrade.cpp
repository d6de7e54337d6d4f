#include "upgrade/provider_upgrade.hpp"

#include <unistd.h>

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

constexpr float kCurrentVersion = 0.36052f;
constexpr float kCurrentObjectVersion = 0.8002f;
constexpr float kFirstVersionWithCodes = 0.3605f;
constexpr float kOldestObjectVersion = 0.8f;

std::string fiveDecimals(double value) {
    return host::TFormat::FloatToStrFormated(value, 5);
}

// Views that read the library database name it by a path relative to the
// library folder, so the upgrade works from there. A missing folder is left
// alone: those views then fail quietly like any other statement.
void enterLibraryFolder() {
    std::string folder = host::registry()->get(host::registry_entry::kLibraryFolder);
    if (folder.empty()) {
        return;
    }
    std::string resolved = host::resolvePath(folder);
    if (::chdir(resolved.c_str()) != 0) {
        // Nothing to do: see above.
    }
}

}  // namespace

void runProviderUpgrade(iDatabase& database, UpgradeLog& log, const std::string& providerName,
                        const UpgradeCatalogue& catalogue) {
    enterLibraryFolder();
    log.push_back("Providername: " + providerName);

    UpgradeSession session(database);
    int done = 0;
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
        if (host::TMathEx::PlusPetitOuEgal(version, kOldestUpgradableVersion) &&
            !host::TMathEx::PlusGrandOuEgal(objectVersion, kOldestObjectVersion)) {
            throw host::EORV_DATABASEUPDATE(
                "The database of provider " + providerName + " is at version " +
                fiveDecimals(version) + " (objects " + fiveDecimals(objectVersion) +
                "); it cannot be upgraded to version " + fiveDecimals(kCurrentVersion) +
                " (objects " + fiveDecimals(kCurrentObjectVersion) + ") from there");
        }
        done = runSteps(session, catalogue, providerName, applied, version);
        log.push_back(std::to_string(done) + " mise(s) à jour efféctuée(s) avec succès");
    }
    host::TProviderMethod::InitCaches(&database);
    if (catalogue.closingChecks) {
        catalogue.closingChecks(session);
    }
    log.push_back("");
}

}  // namespace orvdb::upgrade
