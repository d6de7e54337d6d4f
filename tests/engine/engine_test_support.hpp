// Shared helpers for the engine suites: a scratch folder and a new store.
#pragma once

#include "../support/column_defs.hpp"
#include "../support/jet_fixtures.hpp"
#include "../support/temp_dir.hpp"
#include "engine/dataset/connection.hpp"
#include "engine/dataset/query_dataset.hpp"
#include "jet/check/file_check.hpp"
#include "jet/read/jet_file.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvdb::engine::testing {

using ScratchDir = test::TempDir;
using test::readFile;
using test::writeFile;

// The message of what `action` throws; empty when it throws nothing.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// Runs `work` in a child process; its exit status is 0 when it returned.
// Raises when no child could be made (a pid of -1 must never reach kill()).
template <class Work>
pid_t inChild(Work work) {
    pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        try {
            work();
            _exit(0);
        } catch (const std::exception& error) {
            fprintf(stderr, "child: %s\n", error.what());
        } catch (...) {
            fprintf(stderr, "child: an unknown exception\n");
        }
        // Never back into the test runner: the child would run the rest of the suite.
        _exit(3);
    }
    return child;
}

// The exit status of a child, 128 + the signal when one ended it; -1 when
// it could not be waited for.
inline int exitStatus(pid_t child) {
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A connection of its own on an Access file; `extra` adds connection options.
inline std::unique_ptr<Connection> openFile(const std::string& path,
                                            const std::string& extra = "") {
    auto connection = std::make_unique<Connection>();
    connection->setConnectionString("Data Source=" + path + ";" + extra);
    connection->open();
    return connection;
}

// The errors the file check finds in a file (its warnings left out).
inline std::vector<std::string> checkErrors(const std::string& path) {
    std::vector<std::string> errors;
    for (const jet::CheckFinding& finding : jet::checkJetFile(jet::JetFile::open(path)).findings) {
        if (finding.severity == jet::CheckSeverity::Error) {
            errors.push_back(finding.text);
        }
    }
    return errors;
}

using test_support::autoNumber;
using test_support::column;
using test_support::primaryKey;

// Every row of a select, its fields (or only field `only`) as text joined by '|'.
inline std::vector<std::string> rows(Connection& connection, const std::string& sql,
                                     int only = -1) {
    QueryDataset query(connection);
    query.setSql(sql);
    query.open();
    std::vector<std::string> out;
    for (bool more = query.first(); more; more = query.next()) {
        const int first = only < 0 ? 0 : only;
        const int last = only < 0 ? query.fieldCount() : only + 1;
        std::string row;
        for (int index = first; index < last; ++index) {
            row += (index > first ? "|" : "") + query.getText(index);
        }
        out.push_back(row);
    }
    return out;
}

// One field of every row of a select, as text.
inline std::vector<std::string> column(Connection& connection, const std::string& sql,
                                       int index = 0) {
    return rows(connection, sql, index);
}

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
    // One field of every row of a select on the connection, as text.
    std::vector<std::string> select(const std::string& sql, int index = 0) {
        return column(conn, sql, index);
    }
    // Runs store SQL as one committed change (through the file's write-through).
    void change(const std::string& sql) {
        Savepoint savepoint(db());
        execSql(db(), sql);
        savepoint.commit();
    }
};

using test::jetFixture;
using test::JetFixtureTest;

}  // namespace orvdb::engine::testing
