// `orvdb merge` of two provider folders made with `orvdb sql`.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli_run.hpp"
#include "support/shell_command.hpp"

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;
using test_support::haveCommand;
using test_support::runCommand;
using test_support::shellQuote;

class MergeCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root + "tmp");
        sql("XLib.Mdb",
            {"CREATE TABLE MergeKey_Element (FromTablename VARCHAR(64), FromFieldname "
             "VARCHAR(64), toTablename VARCHAR(64), ToFieldname VARCHAR(64), [condition] "
             "VARCHAR(255))",
             "INSERT INTO MergeKey_Element VALUES ('Article', 'FamilyID', 'Family', 'ID', '')",
             "CREATE TABLE MergeKey_toChange (Tablename VARCHAR(64), Fieldname VARCHAR(64))",
             "INSERT INTO MergeKey_toChange VALUES ('Article', 'ID')"});
        for (const char* provider : {"P1", "P2"}) {
            const std::string name = provider;
            sql("Providers/" + name + "/XLibData.mdb",
                {"CREATE TABLE Family (ID COUNTER PRIMARY KEY, Name VARCHAR(30))",
                 "CREATE TABLE Article (ID COUNTER PRIMARY KEY, FamilyID LONG, Reference "
                 "VARCHAR(30))",
                 "ALTER TABLE Article ADD CONSTRAINT ArticleFamily FOREIGN KEY (FamilyID) "
                 "REFERENCES Family (ID)",
                 "INSERT INTO Family (ID, Name) VALUES (1, '" + name + "')",
                 "INSERT INTO Article (ID, FamilyID, Reference) VALUES (1, 1, '" + name + "-1')"});
            fs::create_directories(root + "Providers/" + name + "/X2D");
            std::ofstream(root + "Providers/" + name + "/X2D/" + name + ".x2d") << name;
        }
    }

    void sql(const std::string& file, const std::vector<std::string>& statements) {
        fs::create_directories(fs::path(root + file).parent_path());
        std::string args = "sql --create " + shellQuote(root + file);
        for (const std::string& statement : statements) {
            args += " " + shellQuote(statement);
        }
        RunResult r = runOrvdb(args);
        ASSERT_EQ(r.exitCode, 0) << r.out;
    }

    std::string mergeArgs(const std::string& extra) const {
        return "--data-root " + shellQuote(root) + " merge P1 P2 OUT --offset 1000 --yes " + extra;
    }
    std::string env() const { return "TEMP=" + shellQuote(root + "tmp"); }

    test::TempDir scratch;
    std::string root = scratch.folder();
};

// On a pipe the progress is plain lines: one per stage or table, without the
// detail bar's counters (a line per field or row).
TEST_F(MergeCommandTest, MergesAndPrintsTheLogAndPlainProgressLines) {
    RunResult clash = runOrvdb(
        "--data-root " + shellQuote(root) + " merge P1 P2 CLASH --offset 0 --yes --progress none",
        env());
    EXPECT_EQ(clash.exitCode, 1) << "keys that collide lose rows: " << clash.out;
    EXPECT_NE(clash.out.find("not in the output"), std::string::npos) << clash.out;

    RunResult r = runOrvdb(mergeArgs("--progress tty"), env());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("Congratulations, your merge is now functionnal..."), std::string::npos);
    RunResult rows = runOrvdb("sql " + shellQuote(root + "Providers/OUT/XLibData.mdb") +
                              " 'SELECT ID, FamilyID, Reference FROM Article ORDER BY ID'");
    EXPECT_EQ(rows.out, "ID\tFamilyID\tReference\n1\t1\tP1-1\n1001\t1001\tP2-1\n");
    EXPECT_TRUE(fs::exists(root + "Providers/OUT/X2D/P2.x2d"));

    EXPECT_NE(r.out.find("progress: Progression de la table en cours: Family"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find('\033'), std::string::npos) << "no terminal codes on a pipe";
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("progress: ", 0) == 0 && line.find(" | ") != std::string::npos) {
            EXPECT_EQ(line.find('[', line.find(" | ")), std::string::npos) << line;
        }
    }
}

TEST_F(MergeCommandTest, ProgressOnATerminalIsTwoLinesRedrawnInPlace) {
    if (!haveCommand("tmux")) {
        GTEST_SKIP() << "tmux is not installed";
    }
    const std::string server = "orvdb-merge-" + std::to_string(::getpid());
    const std::string tmux = "tmux -L " + server;
    const std::string command = "env " + env() + " " + ORVDB_CLI_PATH + " " +
                                mergeArgs("--progress tty") + " >/dev/null; sleep 60";
    ASSERT_TRUE(
        runCommand(tmux + " new-session -d -x 150 -y 30 " + shellQuote(command)).has_value());
    std::string screen;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        screen = runCommand(tmux + " capture-pane -p 2>/dev/null").value_or("");
        if (screen.find("7/7") != std::string::npos) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    runCommand(tmux + " kill-server 2>/dev/null");
    std::vector<std::string> lines;
    std::istringstream in(screen);
    for (std::string line; std::getline(in, line);) {
        if (line.find('[') != std::string::npos && line.find('/') != std::string::npos) {
            lines.push_back(line);
        }
    }
    ASSERT_EQ(lines.size(), 2u) << "the two bars are drawn once each:\n" << screen;
    EXPECT_EQ(lines[0].rfind("Progression de la table en cours: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1],
              "Copie des fichiers en cours de données en cours [####################] 7/7");
}

TEST_F(MergeCommandTest, ADiskThatFillsUpLeavesTheInputsAndNoCompleteLookingOutput) {
    const std::string before1 = test::readFile(root + "Providers/P1/XLibData.mdb");
    const std::string before2 = test::readFile(root + "Providers/P2/XLibData.mdb");
    // Files may not grow past 16 KiB: the first copy of a database fails.
    RunResult r = runOrvdb(mergeArgs("--progress none"), "trap '' XFSZ; ulimit -f 16; " + env());
    EXPECT_NE(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("merge failed:"), std::string::npos) << r.out;
    EXPECT_EQ(test::readFile(root + "Providers/P1/XLibData.mdb"), before1);
    EXPECT_EQ(test::readFile(root + "Providers/P2/XLibData.mdb"), before2);
    EXPECT_FALSE(fs::exists(root + "Providers/OUT/XLibData.mdb"));
}

}  // namespace
}  // namespace orvdb::cli_test
