#include "engine/dataset/connection.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <cctype>

namespace orvdb::engine {

std::string connectionProperty(std::string_view connectionString, std::string_view wanted) {
    size_t i = 0;
    while (i < connectionString.size()) {
        while (i < connectionString.size() &&
               (connectionString[i] == ';' ||
                std::isspace(static_cast<unsigned char>(connectionString[i])))) {
            ++i;
        }
        size_t eq = connectionString.find('=', i);
        if (eq == std::string_view::npos) {
            break;
        }
        std::string key(connectionString.substr(i, eq - i));
        while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) {
            key.pop_back();
        }
        i = eq + 1;
        while (i < connectionString.size() && connectionString[i] == ' ') {
            ++i;
        }
        std::string value;
        if (i < connectionString.size() &&
            (connectionString[i] == '"' || connectionString[i] == '\'')) {
            // A quoted value; a doubled quote stands for one.
            char q = connectionString[i++];
            while (i < connectionString.size()) {
                if (connectionString[i] == q) {
                    if (i + 1 < connectionString.size() && connectionString[i + 1] == q) {
                        value += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += connectionString[i++];
            }
            while (i < connectionString.size() && connectionString[i] != ';') {
                ++i;
            }
        } else {
            size_t end = connectionString.find(';', i);
            if (end == std::string_view::npos) {
                end = connectionString.size();
            }
            value = std::string(connectionString.substr(i, end - i));
            while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) {
                value.pop_back();
            }
            i = end;
        }
        std::string lower;
        for (char c : key) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (lower == wanted) {
            return value;
        }
    }
    return {};
}

std::string dataSourceFromConnectionString(std::string_view connectionString) {
    return connectionProperty(connectionString, "data source");
}

OpenMode openModeOf(std::string_view mode) {
    std::string lower;
    for (char c : mode) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    // "Read" alone; "ReadWrite", "Share Deny ..." and the rest may write.
    return lower == "read" ? OpenMode::ReadOnly : OpenMode::ReadWrite;
}

Connection::~Connection() {
    try {
        close();
    } catch (...) {
    }
}

void Connection::setConnectionString(std::string connectionString) {
    connectionString_ = std::move(connectionString);
}

void Connection::open() {
    if (store_) {
        return;
    }
    std::string path = dataSourceFromConnectionString(connectionString_);
    if (path.empty()) {
        throw EngineError(msg::kNoDataSource);
    }
    store_ = WorkingStore::open(
        path, connectionProperty(connectionString_, "jet oledb:database password"),
        openModeOf(connectionProperty(connectionString_, "mode")));
    session_ = SessionState{};
}

void Connection::close() {
    if (!store_) {
        return;
    }
    while (transactionLevel_ > 0) {
        rollbackTransaction();
    }
    // Counters moved by inserts that failed are written; when that fails the
    // connection stays open so that nothing is lost.
    store_->flush();
    store_.reset();
}

WorkingStore& Connection::store() const {
    if (!store_) {
        throw EngineError(msg::kObjectClosed);
    }
    return *store_;
}

void Connection::beginTransaction() {
    store().begin();
    ++transactionLevel_;
}

void Connection::commitTransaction() {
    if (transactionLevel_ == 0) {
        throw EngineError(msg::kNothingToCommit);
    }
    WorkingStore& workingStore = store();
    int depth = workingStore.transactionDepth();
    try {
        workingStore.commit();
    } catch (...) {
        // A failed write-back comes after the commit itself.
        if (workingStore.transactionDepth() < depth) {
            --transactionLevel_;
        }
        throw;
    }
    --transactionLevel_;
}

void Connection::rollbackTransaction() {
    if (transactionLevel_ == 0) {
        throw EngineError(msg::kNothingToRollBack);
    }
    store().rollback();
    --transactionLevel_;
}

std::vector<std::string> Connection::userTableNames() const {
    return store().catalog().userTableNames();
}

std::vector<std::string> Connection::fieldNames(std::string_view tableName) const {
    const TableInfo* table = store().catalog().findTableInfo(tableName);
    if (!table) {
        throw EngineError(msg::tableNotFound(tableName));
    }
    std::vector<std::string> out;
    for (const auto& column : table->columns) {
        out.push_back(column.name);
    }
    return out;
}

}  // namespace orvdb::engine
