// The host's rights management, which the manager upgrade fills when it
// rebuilds the application users' rights groups: name the administrators'
// group, then for each group set named rights in its three lists.
#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

enum class RightsCategory { company = 0, projects = 1, quotes = 2 };

class RightsList {
public:
    virtual ~RightsList() = default;
    virtual void setRight(std::string_view rightName, bool granted) = 0;
};

class RightsManager {
public:
    virtual ~RightsManager() = default;
    virtual void setAdministratorGroup(std::string_view groupName) = 0;
    // Makes the group the one whose lists rights() returns.
    virtual void selectGroup(std::string_view groupName) = 0;
    // The selected group's list of a category; throws std::logic_error when
    // no group has been selected.
    virtual RightsList& rights(RightsCategory category) = 0;
};

// Default: keeps what it is told, for the program to read back or print.
class MemoryRightsManager : public RightsManager {
public:
    void setAdministratorGroup(std::string_view groupName) override;
    void selectGroup(std::string_view groupName) override;
    RightsList& rights(RightsCategory category) override;

    std::string administratorGroup() const;
    // Unset rights read as not granted.
    bool granted(std::string_view groupName, RightsCategory category,
                 std::string_view rightName) const;
    // What it was told, as lines: "administrators\t<group>" first (when a
    // group was named), then for each group by name "group\t<group>" and its
    // rights, "<group>\t<category>\t<right>\t<granted|refused>" by category
    // (company, projects, quotes) and right name.
    std::vector<std::string> listing() const;

private:
    class List : public RightsList {
    public:
        explicit List(std::mutex& mutex) : mutex_(mutex) {}
        void setRight(std::string_view rightName, bool granted) override;
        bool granted(std::string_view rightName) const;
        const std::map<std::string, bool, std::less<>>& all() const { return rights_; }

    private:
        std::mutex& mutex_;
        std::map<std::string, bool, std::less<>> rights_;
    };
    struct Group {
        explicit Group(std::mutex& mutex) : lists{List(mutex), List(mutex), List(mutex)} {}
        std::array<List, 3> lists;
    };

    mutable std::mutex mutex_;
    std::string administratorGroup_;
    std::map<std::string, Group, std::less<>> groups_;
    Group* selected_ = nullptr;
};

}  // namespace orvdb::host
