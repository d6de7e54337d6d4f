#include "kinds/library_upgrade.hpp"

#include "upgrade/position_columns.hpp"
#include "upgrade/step_runner.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::kinds {

using upgrade::QueryLevel;
using upgrade::UpgradeSession;

namespace {

constexpr upgrade::UpgradeRow kLibrarySteps[] = {
    upgrade::script("0.5002", upgrade::movePositionColumns),
};
static_assert(upgrade::ascendingTargets(kLibrarySteps));

}  // namespace

const upgrade::UpgradeCatalogue& libraryCatalogue() {
    static constexpr upgrade::UpgradeCatalogue catalogue{
        kLibrarySteps, {}, upgrade::VersionText::AsWritten, nullptr};
    return catalogue;
}

void runLibraryUpgrade(iDatabase& database) {
    UpgradeSession session(database);
    QueryLevel level(session);
    // The library's version is read as stored (no rounding); a library
    // without a version row is left alone. It keeps no patch codes.
    if (!session.open("SELECT Version FROM Version")) {
        return;
    }
    float version = session.fieldFloat("Version");
    session.setCommandMode();
    upgrade::runCatalogue(session, libraryCatalogue(), upgrade::AppliedCodes(), version);
}

}  // namespace orvdb::kinds
