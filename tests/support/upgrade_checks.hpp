// Checks the whole-upgrade suites (provider, manager, workshop) share, and
// the files they make once for all their tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "database_rows.hpp"
#include "host/debug_output.hpp"
#include "jet/check/file_check.hpp"
#include "mdb_reader.hpp"
#include "schema_snapshot.hpp"
#include "shell_command.hpp"
#include "temp_dir.hpp"

namespace orvdb::test_support {

// A file read and changed through an engine connection of its own; the
// working folder, when given, is where its views find other databases.
class FileConnection {
public:
    explicit FileConnection(const std::filesystem::path& file,
                            const std::filesystem::path& workingFolder = {}) {
        connection_.setConnectionString("Data Source=" + file.string());
        if (!workingFolder.empty()) {
            connection_.setWorkingFolder(workingFolder.string());
        }
        connection_.open();
    }
    // Rows of a select, fields joined by '|' (NULL as nothing).
    Lines rows(const std::string& sql) { return selectRows(connection_, sql); }
    void execute(const std::vector<std::string>& statements) {
        for (const std::string& statement : statements) {
            connection_.execute(statement);
        }
    }
    Lines schema() { return schemaSnapshot(connection_); }
    engine::Connection& connection() { return connection_; }

private:
    engine::Connection connection_;
};

// The debug channel, traces (failing statements) included, for a scope.
class DebugRecording {
public:
    DebugRecording() {
        host::setDebugSink([this](std::string_view text) { lines_.emplace_back(text); });
        host::setDebugTrace(true);
    }
    ~DebugRecording() {
        host::setDebugTrace(false);
        host::setDebugSink({});
    }
    DebugRecording(const DebugRecording&) = delete;
    DebugRecording& operator=(const DebugRecording&) = delete;
    const Lines& lines() const { return lines_; }

private:
    Lines lines_;
};

// The files of a whole-upgrade suite: the old data root, the same after the
// whole upgrade (with its log and the debug lines of that run), and the old
// root brought step by step to each of some versions.
struct UpgradedRoots {
    test::TempDir folder;
    std::filesystem::path oldRoot = folder.path() / "old";
    std::filesystem::path upgradedRoot = folder.path() / "upgraded";
    Lines log;
    Lines debug;
    std::map<std::string, std::filesystem::path> rootAt;

    // `upgrade` upgrades a root wholly when `upTo` is null, else up to it.
    using Upgrade = std::function<Lines(const std::filesystem::path& root, const char* upTo)>;
    void make(const std::function<void(const std::filesystem::path&)>& build,
              const Upgrade& upgrade, std::initializer_list<const char*> versions) {
        build(oldRoot);
        copyFolder(oldRoot, upgradedRoot);
        {
            DebugRecording recording;
            log = upgrade(upgradedRoot, nullptr);
            debug = recording.lines();
        }
        const std::filesystem::path walking = folder.path() / "walking";
        copyFolder(oldRoot, walking);
        for (const char* version : versions) {
            upgrade(walking, version);
            rootAt[version] = folder.path() / (std::string("at") + version);
            copyFolder(walking, rootAt[version]);
        }
    }
};

// A fixture whose tests share one Suite (with a TempDir `folder`), made by
// the fixture's SetUpTestSuite; copyOf copies one of its files or folders
// for the running test alone.
template <class Suite>
class SharedSuiteTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() {
        delete suite;
        suite = nullptr;
    }
    static std::filesystem::path copyOf(const std::filesystem::path& source) {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        std::filesystem::path copy = suite->folder.path() / (name + source.extension().string());
        if (std::filesystem::is_directory(source)) {
            copyFolder(source, copy);
        } else {
            std::filesystem::copy_file(source, copy,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        return copy;
    }
    static inline Suite* suite = nullptr;
};

struct ExpectedFailure {
    const char* statement;  // the end of the debug line: the statement as run
    int times;
    const char* why;
};

// Every debug line is one of the expected failures (or one `ignored` keeps
// out), and each expected failure is seen its number of times.
inline void expectOnlyTheseFailures(const Lines& debug, std::span<const ExpectedFailure> expected,
                                    const std::function<bool(const std::string&)>& ignored = {}) {
    std::map<const ExpectedFailure*, int> seen;
    for (const std::string& line : debug) {
        if (ignored && ignored(line)) {
            continue;
        }
        const ExpectedFailure* match = nullptr;
        for (const ExpectedFailure& failure : expected) {
            if (line.ends_with(failure.statement)) {
                match = &failure;
            }
        }
        EXPECT_NE(match, nullptr) << "unexpected failure: " << line;
        ++seen[match];
    }
    for (const ExpectedFailure& failure : expected) {
        EXPECT_EQ(seen[&failure], failure.times) << failure.statement << " (" << failure.why << ")";
    }
}

// The schema found against the reviewed one in tests/<reviewed>.
// ORVDB_WRITE_SNAPSHOT=1 writes the schema found instead, for a review of the
// change before it is kept.
inline void expectReviewedSchema(const Lines& found, const std::string& reviewedName) {
    const std::filesystem::path reviewed =
        std::filesystem::path(ORVDB_SOURCE_DIR) / "tests" / reviewedName;
    if (const char* write = std::getenv("ORVDB_WRITE_SNAPSHOT"); write && *write == '1') {
        std::ofstream out(reviewed);
        for (const std::string& line : found) {
            out << line << "\n";
        }
        GTEST_SKIP() << "wrote " << reviewed << ": review it before keeping it";
    }
    std::ifstream in(reviewed);
    ASSERT_TRUE(in) << "cannot read " << reviewed;
    Lines expected;
    for (std::string line; std::getline(in, line);) {
        expected.push_back(line);
    }
    for (size_t i = 0; i < std::max(found.size(), expected.size()); ++i) {
        const std::string have = i < found.size() ? found[i] : "(nothing)";
        const std::string want = i < expected.size() ? expected[i] : "(nothing)";
        ASSERT_EQ(have, want) << "line " << i + 1 << " of " << reviewed;
    }
}

// What other readers make of an upgraded file: the Jet checker finds no
// error; mdb-tables lists every user table (and mdb-export reads each when
// `exportEach`); mdb-queries lists `views` (reading each definition when
// `readEachView`); mdb-reader reads every table. Readers not installed are
// said and passed over.
struct OtherReaders {
    Lines views;
    bool exportEach = false;
    bool readEachView = false;
};

inline void expectOtherReadersRead(const std::filesystem::path& upgraded,
                                   const OtherReaders& readers) {
    jet::CheckReport report = jet::checkJetFile(jet::JetFile::open(upgraded.string()));
    for (const jet::CheckFinding& finding : report.findings) {
        EXPECT_NE(finding.severity, jet::CheckSeverity::Error) << finding.text;
    }
    const Lines tables = selectRows(upgraded,
                                    "SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND "
                                    "Flags=0 AND Type=1 ORDER BY Name");
    ASSERT_GT(tables.size(), 40u);

    if (haveCommand("mdb-tables") && haveCommand("mdb-queries") && haveCommand("mdb-export")) {
        const std::string file = shellQuote(upgraded.string());
        auto run = [&](const std::string& command) {
            // No pipe: its status would be the last command's, not the reader's.
            return runCommand("timeout 60 " + command);
        };
        std::optional<std::string> listed = run("mdb-tables -1 " + file);
        ASSERT_TRUE(listed) << "mdb-tables failed";
        for (const std::string& table : tables) {
            EXPECT_NE(listed->find(table + "\n"), std::string::npos) << table << " not listed";
            if (readers.exportEach) {
                EXPECT_TRUE(run("mdb-export " + file + " " + shellQuote(table)))
                    << "mdb-export cannot read " << table;
            }
        }
        std::optional<std::string> queries = run("mdb-queries -1 " + file);
        ASSERT_TRUE(queries) << "mdb-queries failed";
        for (const std::string& view : readers.views) {
            EXPECT_NE(queries->find(view + "\n"), std::string::npos) << view << " not listed";
            if (readers.readEachView) {
                // mdbtools writes joins as table lists and unions without
                // their parts; that it reads the definition is what is checked.
                std::optional<std::string> sql =
                    run("mdb-queries " + file + " " + shellQuote(view));
                EXPECT_TRUE(sql && sql->rfind("SELECT", 0) == 0)
                    << "mdb-queries cannot read " << view;
            }
        }
    } else {
        std::cout << "[ INFO ] mdbtools is not installed: its reading is not compared\n";
    }

    if (std::string missing = mdbReaderUnavailable(); !missing.empty()) {
        std::cout << "[ INFO ] mdb-reader skipped: " << missing << "\n";
        return;
    }
    std::optional<std::string> dump = mdbReaderDump(upgraded);
    ASSERT_TRUE(dump) << "node could not run";
    EXPECT_EQ(dump->find("\"error\""), std::string::npos) << dump->substr(0, 2000);
    for (const std::string& table : tables) {
        EXPECT_NE(dump->find("\"name\": \"" + table + "\""), std::string::npos)
            << table << " not read by mdb-reader";
    }
}

// A second upgrade of an upgraded file runs no step, fails no statement and
// changes neither schema nor rows. `upgrade` runs it and returns the line of
// its log that counts the steps.
inline void expectSecondRunChangesNothing(const std::filesystem::path& file,
                                          const std::function<Lines()>& schema,
                                          const std::function<std::string()>& upgrade) {
    const Lines schemaBefore = schema();
    const Lines rowsBefore = allTableRows(file);
    DebugRecording debug;
    EXPECT_EQ(upgrade(), "0 mise(s) à jour efféctuée(s) avec succès");
    EXPECT_EQ(debug.lines(), Lines{}) << "the second run ran statements that failed";
    EXPECT_EQ(schema(), schemaBefore);
    EXPECT_EQ(allTableRows(file), rowsBefore);
}

}  // namespace orvdb::test_support
