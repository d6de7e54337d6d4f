#include "upgrade/position_columns.hpp"

#include <string>

#include "data/user_tables_query.hpp"
#include "host/debug_output.hpp"

namespace orvdb::upgrade {

namespace {

std::string withName(const char* format, const std::string& name) {
    std::string text = format;
    text.replace(text.find("%s"), 2, name);
    return text;
}

}  // namespace

void movePositionColumns(UpgradeSession& session) {
    // Three levels at once: the list of user tables, the changes (command
    // mode) and the probe of each table.
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
}

}  // namespace orvdb::upgrade
