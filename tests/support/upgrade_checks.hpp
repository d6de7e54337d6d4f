// Checks the whole-upgrade suites (provider, manager, workshop) share: their
// scratch folder and a connection to an upgraded file; the
// debug lines recorded during a run against the failures the steps expect,
// the schema against a reviewed snapshot, rows of selects against tables of
// expected lines, and the upgraded file as the Jet checker, mdbtools and
// mdb-reader read it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

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

namespace orvdb::test_support {

// The scratch folder of a suite, empty at the start and removed at the end.
class SuiteFolder {
public:
    explicit SuiteFolder(const std::string& suite)
        : path_(std::filesystem::temp_directory_path() /
                ("orvdb-" + suite + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
    }
    ~SuiteFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // A copy of one of the suite's files or folders for the running test alone.
    std::filesystem::path copyForTest(const std::filesystem::path& source) const {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        std::filesystem::path copy = path_ / (name + source.extension().string());
        if (std::filesystem::is_directory(source)) {
            copyFolder(source, copy);
        } else {
            std::filesystem::copy_file(source, copy,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        return copy;
    }

private:
    std::filesystem::path path_;
};

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

inline bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

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
            if (endsWith(line, failure.statement)) {
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

struct RowCheck {
    const char* what;
    const char* sql;
    Lines expected;
};

inline void expectRows(engine::Connection& connection, std::span<const RowCheck> checks) {
    for (const RowCheck& check : checks) {
        EXPECT_EQ(selectRows(connection, check.sql), check.expected) << check.what;
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
        std::optional<std::string> listed =
            runCommand("timeout 60 mdb-tables -1 " + file + " | head -c 100000");
        ASSERT_TRUE(listed) << "mdb-tables failed";
        for (const std::string& table : tables) {
            EXPECT_NE(listed->find(table + "\n"), std::string::npos) << table << " not listed";
            if (readers.exportEach) {
                EXPECT_TRUE(runCommand("timeout 60 mdb-export " + file + " " + shellQuote(table) +
                                       " | head -c 100000"))
                    << "mdb-export cannot read " << table;
            }
        }
        std::optional<std::string> queries =
            runCommand("timeout 60 mdb-queries -1 " + file + " | head -c 100000");
        ASSERT_TRUE(queries) << "mdb-queries failed";
        for (const std::string& view : readers.views) {
            EXPECT_NE(queries->find(view + "\n"), std::string::npos) << view << " not listed";
            if (readers.readEachView) {
                // mdbtools writes joins as table lists and unions without
                // their parts; that it reads the definition is what is checked.
                std::optional<std::string> sql = runCommand("timeout 60 mdb-queries " + file + " " +
                                                            shellQuote(view) + " | head -c 100000");
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
