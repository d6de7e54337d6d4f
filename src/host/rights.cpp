#include "host/rights.hpp"

#include <stdexcept>

namespace orvdb::host {

void MemoryRightsManager::List::setRight(std::string_view rightName, bool granted) {
    std::lock_guard lock(mutex_);
    rights_.insert_or_assign(std::string(rightName), granted);
}

bool MemoryRightsManager::List::granted(std::string_view rightName) const {
    auto it = rights_.find(rightName);
    return it != rights_.end() && it->second;
}

void MemoryRightsManager::setAdministratorGroup(std::string_view groupName) {
    std::lock_guard lock(mutex_);
    administratorGroup_ = groupName;
}

void MemoryRightsManager::selectGroup(std::string_view groupName) {
    std::lock_guard lock(mutex_);
    auto it = groups_.find(groupName);
    if (it == groups_.end()) {
        it = groups_.emplace(std::string(groupName), Group(mutex_)).first;
    }
    selected_ = &it->second;
}

RightsList& MemoryRightsManager::rights(RightsCategory category) {
    auto index = static_cast<size_t>(category);
    if (index > 2) {
        throw std::out_of_range("rights category " + std::to_string(index) + " does not exist");
    }
    std::lock_guard lock(mutex_);
    if (!selected_) {
        throw std::logic_error("rights asked for before any rights group was selected");
    }
    return selected_->lists[index];
}

std::string MemoryRightsManager::administratorGroup() const {
    std::lock_guard lock(mutex_);
    return administratorGroup_;
}

bool MemoryRightsManager::granted(std::string_view groupName, RightsCategory category,
                                  std::string_view rightName) const {
    auto index = static_cast<size_t>(category);
    std::lock_guard lock(mutex_);
    auto it = groups_.find(groupName);
    return index <= 2 && it != groups_.end() && it->second.lists[index].granted(rightName);
}

std::vector<std::string> MemoryRightsManager::listing() const {
    static constexpr const char* kCategoryNames[] = {"company", "projects", "quotes"};
    std::lock_guard lock(mutex_);
    std::vector<std::string> lines;
    if (!administratorGroup_.empty()) {
        lines.push_back("administrators\t" + administratorGroup_);
    }
    for (const auto& [name, group] : groups_) {
        lines.push_back("group\t" + name);
        for (size_t category = 0; category < group.lists.size(); ++category) {
            for (const auto& [right, granted] : group.lists[category].all()) {
                lines.push_back(name + "\t" + kCategoryNames[category] + "\t" + right + "\t" +
                                (granted ? "granted" : "refused"));
            }
        }
    }
    return lines;
}

}  // namespace orvdb::host
