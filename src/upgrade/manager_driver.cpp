#include "upgrade/manager_driver.hpp"

#include <orvdb/com_ptr.hpp>

#include "host/format.hpp"
#include "host/host_services.hpp"
#include "host/rights_objects.hpp"
#include "upgrade/manager_blocks.hpp"
#include "upgrade/manager_catalogue.hpp"
#include "upgrade/manager_final_patches.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/upgrade_session.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {

namespace {

constexpr size_t kAdministratorEntry = 23;
constexpr std::string_view kAdministratorMarker = "(5035)";
constexpr double kLastCheckedVersion = 2.18;

// The version the runner leaves: the last target when it ran the last step.
float versionAfter(const UpgradeCatalogue& catalogue, float version) {
    if (catalogue.steps.empty()) {
        return version;
    }
    const float last = targetVersion(catalogue.current());
    return versionBelow(version, last) ? last : version;
}

}  // namespace

std::string administratorName(const std::vector<std::string>& upgradeStrings) {
    if (upgradeStrings.size() <= kAdministratorEntry) {
        throw std::out_of_range(
            "manager upgrade: the host gave " + std::to_string(upgradeStrings.size()) +
            " upgrade strings; entry 23, the administrators' name, is missing (the host hands "
            "them to the manager database before Update; orvdb upgrade takes them with --strings)");
    }
    std::string name = upgradeStrings[kAdministratorEntry];
    for (size_t at = name.find(kAdministratorMarker); at != std::string::npos;
         at = name.find(kAdministratorMarker, at)) {
        name.erase(at, kAdministratorMarker.size());
    }
    return name;
}

void runManagerUpgrade(iDatabase& database, UpgradeLog& log, IInterface* rightsHost,
                       IInterface* hostObject, const UpgradeCatalogue& catalogue) {
    ManagerRun run;
    run.rights = host::rightsManagerOf(rightsHost);
    if (!run.rights) {
        run.rights = host::rights();
    }
    const ComPtr<IInterface> heldForTheRun(hostObject);
    run.administrator = administratorName(managerUpgradeStrings());

    UpgradeSession session(database);
    {
        QueryLevel level(session);
        float version = 0;
        if (session.open("SELECT Version FROM Version")) {
            version = session.fieldFloat("Version");
        }
        log.push_back("Current Version: " + host::TFormat::FloatToStrFormated(version, 5));
        session.setCommandMode();

        ManagerRunScope scope(std::move(run));
        const int done = runCatalogue(session, catalogue, AppliedCodes(), version);
        if (!(static_cast<double>(versionAfter(catalogue, version)) > kLastCheckedVersion)) {
            throw ManagerCatalogueIncomplete(
                "La mise à jour du manager doit contenir sous forme de Block l'agrandissement de "
                "la taille du champ name de la table DOSSIERDEVISTREENODES  et la table pour les "
                "barcodes");
        }
        runManagerFinalPatches(session);
        log.push_back(std::to_string(done) + " mise(s) à jour efféctuée(s) avec succès");
    }
}

void runManagerUpgrade(iDatabase& database, UpgradeLog& log, IInterface* rightsHost,
                       IInterface* hostObject) {
    runManagerUpgrade(database, log, rightsHost, hostObject, managerCatalogue());
}

}  // namespace orvdb::upgrade
