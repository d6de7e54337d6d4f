#include "upgrade/manager_upgrade.hpp"

#include <mutex>

#include "host/boundary_strings.hpp"
#include "host/exceptions.hpp"

namespace orvdb::upgrade {

namespace {
std::mutex stringsMutex;
std::vector<std::string>& strings() {
    static std::vector<std::string> texts;
    return texts;
}

std::string databaseName(iDatabase& database) {
    host::Bstr name;
    if (database.Get_dbname(name.put()) != ORV_S_OK) {
        return "?";
    }
    return name.utf8();
}
}  // namespace

void runWorkshopUpgrade(iDatabase& database, UpgradeLog&) {
    throw host::EORV_DATABASEUPDATE("The workshop database " + databaseName(database) +
                                    " cannot be upgraded: this version of orvdb does not carry "
                                    "the workshop upgrade steps yet");
}

void setManagerUpgradeStrings(std::vector<std::string> texts) {
    std::lock_guard lock(stringsMutex);
    strings() = std::move(texts);
}

std::vector<std::string> managerUpgradeStrings() {
    std::lock_guard lock(stringsMutex);
    return strings();
}

}  // namespace orvdb::upgrade
