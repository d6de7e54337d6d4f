// The host's container of open databases (the iMultiDatabase role): databases
// registered under names, one of them current. The merge switches between
// "XLIB" and "GAMMISTE" through it.
#pragma once

#include <orvdb/com_ptr.hpp>

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace orvdb::host {

class DatabaseContainer {
public:
    virtual ~DatabaseContainer() = default;

    // Holds a reference to the database under the name (names compare without
    // regard to case); a database already under that name is replaced.
    virtual void registerDatabase(std::string_view name, ComPtr<IInterface> database) = 0;
    // Drops the name; the current database stays current only if it is another one.
    virtual void unregisterDatabase(std::string_view name) = 0;
    // Throws std::invalid_argument naming the name when nothing is registered under it.
    virtual void setCurrent(std::string_view name) = 0;
    // The current database; empty when none has been made current.
    virtual ComPtr<IInterface> current() const = 0;
    // The database under the name; empty when there is none.
    virtual ComPtr<IInterface> find(std::string_view name) const = 0;
};

class MemoryDatabaseContainer : public DatabaseContainer {
public:
    void registerDatabase(std::string_view name, ComPtr<IInterface> database) override;
    void unregisterDatabase(std::string_view name) override;
    void setCurrent(std::string_view name) override;
    ComPtr<IInterface> current() const override;
    ComPtr<IInterface> find(std::string_view name) const override;

private:
    mutable std::mutex mutex_;
    std::map<std::string, ComPtr<IInterface>> databases_;  // by folded name
    std::string current_;                                  // folded name, "" = none
};

}  // namespace orvdb::host
