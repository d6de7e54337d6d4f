#include "upgrade/workshop_upgrade.hpp"

#include "data/database.hpp"
#include "host/exceptions.hpp"
#include "host/format.hpp"
#include "host/utf16.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

namespace {

// The file, for messages: every workshop connection has the same name.
std::string databaseFile(iDatabase& database) {
    if (auto* connection = dynamic_cast<data::torvc_Database*>(&database)) {
        return host::toUtf8(connection->path());
    }
    return "XMANDATA";
}

}  // namespace

void runWorkshopUpgrade(iDatabase& database, UpgradeLog& log, const UpgradeCatalogue& catalogue) {
    UpgradeSession session(database);
    QueryLevel level(session);
    // The version is read as stored: the workshop family does not round it.
    if (!session.open("SELECT Version FROM Version")) {
        throw host::EORV_DATABASEUPDATE("The workshop database " + databaseFile(database) +
                                        " has no version to upgrade from: SELECT Version FROM "
                                        "Version gave no row");
    }
    float version = session.fieldFloat("Version");
    log.push_back("Current Version: " + host::TFormat::FloatToStrFormated(version, 5));

    session.setCommandMode();
    int done = runCatalogue(session, catalogue, AppliedCodes(), version);
    if (catalogue.closingChecks) {
        catalogue.closingChecks(session);
    }
    log.push_back(std::to_string(done) + " mise(s) à jour efféctuée(s) avec succès");
}

}  // namespace orvdb::upgrade
