// An engine connection: opened from a Jet connection string, it serves Access
// SQL on the working store of its file.
#pragma once

#include "engine/dataset/dataset.hpp"
#include "engine/store/working_store.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine {

// The value of "Data Source" in a connection string ("" when absent). Other
// properties are accepted and ignored; values may be quoted with " or '.
std::string dataSourceFromConnectionString(std::string_view connectionString);
// The value of any property, the key given in lower case ("" when absent).
std::string connectionProperty(std::string_view connectionString, std::string_view lowerKey);

// The value of a connection string's Mode: only "Read" opens read-only.
OpenMode openModeOf(std::string_view mode);

struct QueryResult {
    std::vector<FieldInfo> fields;
    std::vector<Row> rows;
};

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(std::string connectionString);
    const std::string& connectionString() const { return connectionString_; }

    // The folder a relative database name in SQL ([XLIB].TypeArticleXLIB) is
    // taken from; empty: the process's current directory. Kept across
    // close and open.
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
    const std::string& workingFolder() const { return workingFolder_; }

    void open();
    // Writes the file back when this was the store's last connection.
    void close();
    // Writes a mirrored file back now (outside a transaction).
    void flush() { store().flush(); }
    bool isOpen() const { return store_ != nullptr; }

    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    int transactionLevel() const { return transactionLevel_; }

    // User tables (system tables excluded), in catalog order.
    std::vector<std::string> userTableNames() const;
    // Field names of a table in column order; raises when there is no such table.
    std::vector<std::string> fieldNames(std::string_view table) const;

    // Runs a statement that returns rows. An action statement is run and then
    // reported as an error, because it returns no rows.
    QueryResult query(std::string_view sql);
    // Runs an action or DDL statement; the number of rows it changed.
    int64_t execute(std::string_view sql);

    WorkingStore& store() const;
    SessionState& session() { return session_; }

private:
    std::string connectionString_;
    std::string workingFolder_;
    std::shared_ptr<WorkingStore> store_;
    SessionState session_;
    int transactionLevel_ = 0;
};

}  // namespace orvdb::engine
