// A scratch data root per test with recording host services, and helpers to
// build and read databases through the interfaces the upgrades use.
#pragma once

#include <gtest/gtest.h>
#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/database.hpp"
#include "engine/store/working_store.hpp"
#include "host/host_services.hpp"
#include "recording_host.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::suite_test {

// A fresh data root per test: registry entries 9, 28, 30, 57, 63 and 64 name
// folders under it; the host's messages and exceptions are recorded.
class SuiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvdb-suite-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern + "/";
        host::HostServices services;
        services.registry = std::make_shared<host::MemoryRegistryInfo>();
        services.messages = std::make_shared<test_support::RecordingMessages>(record);
        services.exceptions = std::make_shared<test_support::RecordingExceptions>(record);
        host::installHostServices(std::move(services));
        for (int entry : {9, 28, 30}) {
            host::registry()->set(entry, root);
        }
        host::registry()->set(57, root + "XMan/");
        host::registry()->set(63, root + "XMan/");
        host::registry()->set(64, root + "Languages/");
        host::setDebugSink([](std::string_view) {});
        savedDirectory = std::filesystem::current_path();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::current_path(savedDirectory, ec);
        host::resetHostServices();
        host::setDebugSink({});
        std::filesystem::remove_all(root, ec);
    }

    // A new empty database at root + relative (folders created).
    std::string createDatabase(const std::string& relative) {
        std::filesystem::path path = root + relative;
        std::filesystem::create_directories(path.parent_path());
        engine::WorkingStore::createDatabase(path.string());
        return path.string();
    }

    std::string root;
    std::filesystem::path savedDirectory;
    std::shared_ptr<test_support::HostRecorder> record =
        std::make_shared<test_support::HostRecorder>();
};

// Runs set-up statements on the database's engine connection: a statement
// that fails throws, so a test's own set-up never fails quietly.
inline void execute(iDatabase& db, const std::vector<std::string>& statements) {
    auto& connection = dynamic_cast<data::torvc_Database&>(db).connection();
    for (const std::string& sql : statements) {
        connection.execute(sql);
    }
}

// Rows of a select as "a|b" lines (fields named in `fields`).
inline std::vector<std::string> rows(iDatabase& db, const std::string& sql,
                                     std::initializer_list<std::string> fields) {
    std::vector<std::string> result;
    upgrade::UpgradeSession session(db);
    upgrade::QueryLevel level(session);
    for (bool row = session.open(sql); row && session.active(); session.next()) {
        std::string line;
        for (const std::string& field : fields) {
            line += (line.empty() ? "" : "|") + session.fieldText(field);
        }
        result.push_back(line);
    }
    return result;
}

inline bool hasColumn(iDatabase& db, const std::string& table, const std::string& column) {
    return upgrade::UpgradeSession(db).fieldExists(table, column);
}

}  // namespace orvdb::suite_test
