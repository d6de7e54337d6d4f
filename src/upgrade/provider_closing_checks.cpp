// The checks the provider driver runs after every upgrade: repairs that look
// at the schema itself rather than at the version. A database without the
// table concerned has nothing to repair.
#include <string>
#include <utility>
#include <vector>

#include "upgrade/provider_catalogue.hpp"

namespace orvdb::upgrade {

namespace {

// Whole decimal numbers only, with an optional sign.
bool readsAsInteger(const std::string& text, long long& value) {
    if (text.empty()) {
        return false;
    }
    size_t used = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size();
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// GroupMO's language id, read from its description when that is a number
// (an empty description counts as 0).
void addGroupLanguageIds(UpgradeSession& session) {
    if (!session.tableExists("GroupMO") || session.fieldExists("GroupMO", "Id_Lng")) {
        return;
    }
    QueryLevel level(session);
    QueryHandle changes = session.current();
    changes.setCommandMode();
    changes.open("ALTER TABLE GroupMO ADD COLUMN [Id_Lng] LONG");
    std::vector<std::pair<std::string, long long>> numbers;
    {
        QueryLevel readLevel(session);
        QueryHandle reader = session.current();
        for (bool row = reader.open("SELECT ID, Description FROM GroupMO"); row && reader.active();
             reader.next()) {
            std::string description = trimmed(reader.fieldText("Description"));
            if (description.empty()) {
                description = "0";
            }
            long long number = 0;
            if (readsAsInteger(description, number)) {
                numbers.emplace_back(reader.fieldText("ID"), number);
            }
        }
    }
    for (const auto& [id, number] : numbers) {
        changes.open("UPDATE [GroupMO] SET Id_Lng=" + std::to_string(number) + " WHERE ID = " + id);
    }
}

// The provider's order reference on prices, a text of 50 in the database's
// own type word.
void addOrderProviderColumns(UpgradeSession& session) {
    QueryLevel level(session);
    QueryHandle changes = session.current();
    changes.setCommandMode();
    for (const char* table : {"Tarif_Article", "PanelBasePrice"}) {
        if (session.tableExists(table) && !session.fieldExists(table, "OrderProvider")) {
            changes.open(std::string("ALTER TABLE ") + table + " ADD COLUMN OrderProvider " +
                         session.typeWord(2, 50));
        }
    }
}

}  // namespace

void providerClosingChecks(UpgradeSession& session) {
    addGroupLanguageIds(session);
    addOrderProviderColumns(session);
}

}  // namespace orvdb::upgrade
