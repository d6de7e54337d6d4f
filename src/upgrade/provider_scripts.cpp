#include "upgrade/provider_scripts.hpp"

#include <string>

namespace orvdb::upgrade {

void addMissingPositionColumns(UpgradeSession& session) {
    // A level of its own, so the caller's query stays in command mode for
    // the version row written after the script.
    QueryLevel level(session);
    for (const char* table : {"variableobjtree_textlist_text", "variableobjtree_Valuelist_Value"}) {
        session.setSelectMode();
        if (session.tryOpen(std::string("SELECT [Position] FROM ") + table)) {
            continue;
        }
        session.setCommandMode();
        session.open(std::string("ALTER TABLE ") + table + " ADD COLUMN [Position] LONG");
        session.open(std::string("UPDATE ") + table + " SET [Position]=ID");
        session.setSelectMode();
    }
}

}  // namespace orvdb::upgrade
