#include "host/database_container.hpp"

#include "base/names.hpp"

#include <stdexcept>

namespace orvdb::host {

void MemoryDatabaseContainer::registerDatabase(std::string_view name, ComPtr<IInterface> database) {
    if (name.empty()) {
        throw std::invalid_argument("a database needs a name to be registered");
    }
    std::string key = base::foldName(name);
    std::lock_guard lock(mutex_);
    // The replaced database is released after the lock, in `database`.
    databases_[key].swap(database);
}

void MemoryDatabaseContainer::unregisterDatabase(std::string_view name) {
    std::string key = base::foldName(name);
    ComPtr<IInterface> released;  // released after the lock
    std::lock_guard lock(mutex_);
    auto it = databases_.find(key);
    if (it == databases_.end()) {
        return;
    }
    released = std::move(it->second);
    databases_.erase(it);
    if (current_ == key) {
        current_.clear();
    }
}

void MemoryDatabaseContainer::setCurrent(std::string_view name) {
    std::string key = base::foldName(name);
    std::lock_guard lock(mutex_);
    if (!databases_.count(key)) {
        throw std::invalid_argument("no database is registered under the name '" +
                                    std::string(name) + "'");
    }
    current_ = std::move(key);
}

ComPtr<IInterface> MemoryDatabaseContainer::current() const {
    std::lock_guard lock(mutex_);
    if (current_.empty()) {
        return {};
    }
    auto it = databases_.find(current_);
    return it == databases_.end() ? ComPtr<IInterface>() : it->second;
}

ComPtr<IInterface> MemoryDatabaseContainer::find(std::string_view name) const {
    std::string key = base::foldName(name);
    std::lock_guard lock(mutex_);
    auto it = databases_.find(key);
    return it == databases_.end() ? ComPtr<IInterface>() : it->second;
}

}  // namespace orvdb::host
