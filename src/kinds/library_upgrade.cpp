#include "kinds/library_upgrade.hpp"

#include <cstdio>
#include <string>

#include "data/user_tables_query.hpp"
#include "host/debug_output.hpp"
#include "upgrade/upgrade_session.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::kinds {

using upgrade::QueryHandle;
using upgrade::QueryLevel;
using upgrade::UpgradeSession;

namespace {

std::string withName(const char* format, const std::string& name) {
    std::string text = format;
    text.replace(text.find("%s"), 2, name);
    return text;
}

void migratePositions(UpgradeSession& session) {
    QueryLevel levelA(session);
    QueryHandle tables = session.current();
    tables.open(data::userTablesQuery());

    QueryLevel levelB(session);
    QueryHandle changes = session.current();
    changes.setCommandMode();

    QueryLevel levelC(session);
    QueryHandle probe = session.current();

    while (tables.active()) {
        std::string name = tables.fieldText("Name");
        host::debugOutput(name);
        // Names go in as they are: a table whose name needs brackets fails
        // the probe and keeps its column.
        if (probe.tryOpen(withName("SELECT [Position] FROM %s", name))) {
            changes.open(withName("ALTER TABLE %s ADD COLUMN ZV_Position LONG", name));
            changes.open(withName("UPDATE %s SET ZV_Position=[Position]", name));
            changes.open(withName("ALTER TABLE %s DROP COLUMN [Position]", name));
        }
        tables.next();
    }
    changes.open("UPDATE Version SET Version=0.5002");
}

}  // namespace

void runLibraryUpgrade(iDatabase& database) {
    UpgradeSession session(database);
    QueryLevel level(session);
    QueryHandle query = session.current();
    if (query.open("SELECT Version FROM Version")) {
        float version = query.fieldFloat("Version");
        if (upgrade::versionBelow(version, kLibraryVersion)) {
            migratePositions(session);
        }
    }
}

}  // namespace orvdb::kinds
