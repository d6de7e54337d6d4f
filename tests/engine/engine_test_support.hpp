// Shared helpers for the engine suites: a scratch folder and a new store.
#pragma once

#include "engine/dataset/connection.hpp"
#include "engine/dataset/query_dataset.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace orvdb::engine::testing {

class ScratchDir {
public:
    ScratchDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("orvdb-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A new database with one open connection.
struct StoreFixture : ::testing::Test {
    ScratchDir dir;
    std::string path = dir.file("test.mdb");
    Connection conn;

    void SetUp() override {
        WorkingStore::createDatabase(path);
        conn.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";");
        conn.open();
    }
    Catalog& catalog() { return conn.store().catalog(); }
    sqlite3* db() { return conn.store().db(); }
    // Runs store SQL as one committed change (through the file's write-through).
    void change(const std::string& sql) {
        Savepoint savepoint(db());
        execSql(db(), sql);
        savepoint.commit();
    }
};

inline ColumnDef column(const std::string& name, JetType type, int size = 0) {
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.size = size ? size : (type == JetType::Text ? 50 : jetFixedSize(type));
    return c;
}

// One field of every row of a select, as text.
inline std::vector<std::string> column(Connection& connection, const std::string& sql,
                                       int index = 0) {
    QueryDataset query(connection);
    query.setSql(sql);
    query.open();
    std::vector<std::string> out;
    for (bool more = query.first(); more; more = query.next()) {
        out.push_back(query.getText(index));
    }
    return out;
}

#ifdef ORVDB_FIXTURES_DIR
// A file of the shared Access-made fixtures.
inline std::string jetFixture(const std::string& name) {
    return std::string(ORVDB_FIXTURES_DIR) + "/jet4/" + name;
}
#endif

}  // namespace orvdb::engine::testing
