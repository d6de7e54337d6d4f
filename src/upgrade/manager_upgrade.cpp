#include "upgrade/manager_upgrade.hpp"

#include <mutex>

namespace orvdb::upgrade {

namespace {
std::mutex stringsMutex;
std::vector<std::string>& strings() {
    static std::vector<std::string> texts;
    return texts;
}
}  // namespace

void setManagerUpgradeStrings(std::vector<std::string> texts) {
    std::lock_guard lock(stringsMutex);
    strings() = std::move(texts);
}

std::vector<std::string> managerUpgradeStrings() {
    std::lock_guard lock(stringsMutex);
    return strings();
}

}  // namespace orvdb::upgrade
