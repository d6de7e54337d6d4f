#include "upgrade/provider_scripts.hpp"

namespace orvdb::upgrade {

void scriptPositionColumns(UpgradeSession& session) {
    // A level of its own, so the caller's query stays in command mode for
    // the version row written after the script.
    QueryLevel level(session);
    for (std::string_view table : {std::string_view("variableobjtree_textlist_text"),
                                   std::string_view("variableobjtree_Valuelist_Value")}) {
        session.setSelectMode();
        if (session.tryOpen("SELECT [Position] FROM " + std::string(table))) {
            continue;
        }
        session.setCommandMode();
        for (const std::string& sql : positionColumnStatements(table)) {
            session.open(sql);
        }
        session.setSelectMode();
    }
}

}  // namespace orvdb::upgrade
