// Shared helpers for the engine suites: a scratch folder and a new store.
#pragma once

#include "engine/dataset/connection.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

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

}  // namespace orvdb::engine::testing
