#include <gtest/gtest.h>

#include <fstream>

#include "cli_run.hpp"

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

struct UpgradeCommandTest : ::testing::Test {
    test::TempDir scratch;
    fs::path root = scratch.path();
    std::string provider = scratch.file("Providers/Acme/XLibData.mdb");
    void SetUp() override { fs::create_directories(root / "Providers" / "Acme"); }

    std::string upgrade(const std::string& args) {
        return "upgrade " + args + " --data-root " + root.string();
    }
    // Provider Acme at the given versions of its data and objects.
    void makeProvider(const std::string& versions) {
        ASSERT_EQ(runOrvdb("sql --create " + provider +
                           " \"CREATE TABLE Version (Version SINGLE, ObjectVersion SINGLE)\""
                           " \"INSERT INTO Version VALUES (" +
                           versions + ")\"")
                      .exitCode,
                  0);
    }
};

TEST_F(UpgradeCommandTest, ProviderUpgradePrintsVersionsAndLog) {
    ASSERT_NO_FATAL_FAILURE(makeProvider("0.35839, 0.8"));
    auto r = runOrvdb(upgrade("--kind provider --provider acme"));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("version before\t0.35839\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("log\tProvidername: acme\nlog\tCurrent Version: 0.35839\n"
                         // The steps above 0.35839 and every patch (no codes are read below
                         // 0.3605); on a database without their tables they do nothing.
                         "log\t154 mise(s) à jour efféctuée(s) avec succès\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("version after\t0.36052\n"), std::string::npos) << r.out;
}

// The old workshop of the examples (at 1.1) where the host finds the
// workshop data: the workshop folder of the data root, XMan/Xmandata.mdb.
TEST_F(UpgradeCommandTest, WorkshopUpgradePrintsVersionsAndLog) {
    fs::create_directories(root / "XMan");
    const fs::path workshop = root / "XMan" / "Xmandata.mdb";
    const fs::path script = fs::path(ORVDB_SOURCE_DIR) / "examples" / "workshop.sql";
    ASSERT_EQ(runOrvdb("sql --create " + workshop.string() + " < " + script.string()).exitCode, 0);

    auto r = runOrvdb(upgrade("--kind workshop"), "timeout 300");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("database\t" + workshop.string() +
                         "\nversion before\t1.1\n"
                         "log\tCurrent Version: 1.10000\n"
                         "log\t35 mise(s) à jour efféctuée(s) avec succès\n"
                         "version after\t1.81\n"),
              std::string::npos)
        << r.out;
}

TEST_F(UpgradeCommandTest, FailuresExitNonZeroWithTheMessage) {
    ASSERT_NO_FATAL_FAILURE(makeProvider("0.3583, 0.9"));
    const std::pair<std::string, std::string> failures[] = {
        {"--kind filling --provider Acme", "Your database Acme version (0.36) is too old"},
        {"--kind library", "CANNOT FIND " + root.string() + "/XLib.Mdb"},
        {"--kind hardware", "--provider"},
    };
    for (const auto& [args, message] : failures) {
        auto r = runOrvdb(upgrade(args));
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
    }
}

// One database that cannot be upgraded (here not an Access file at all) does
// not stop the others: `--all` goes on, then exits 1 naming it.
TEST_F(UpgradeCommandTest, AllGoesOnPastADatabaseThatFails) {
    ASSERT_NO_FATAL_FAILURE(makeProvider("0.35839, 0.8"));
    fs::create_directories(root / "Providers" / "Aardvark");
    std::ofstream(root / "Providers" / "Aardvark" / "XLibData.mdb") << "not a database\n";

    auto r = runOrvdbBounded(upgrade("--all --progress none"), 300, 100000);
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_NE(r.out.find("1 of 2 databases could not be upgraded: provider Aardvark"),
              std::string::npos)
        << r.out;
    const size_t failure = r.out.find("error\t");
    const size_t upgraded = r.out.find("version after\t0.36052\n");
    ASSERT_NE(failure, std::string::npos) << r.out;
    EXPECT_NE(upgraded, std::string::npos) << r.out;
    EXPECT_LT(failure, upgraded) << "Acme is upgraded after Aardvark failed";
}

// The old manager of the examples, under the workshop folder of the data
// root; the upgrade runs on it with the bundled strings or a file's.
struct ManagerUpgradeCommandTest : UpgradeCommandTest {
    void SetUp() override {
        UpgradeCommandTest::SetUp();
        fs::create_directories(root / "XMan");
        manager = (root / "XMan" / "Manager.mdb").string();
        const std::string script =
            (fs::path(ORVDB_SOURCE_DIR) / "examples" / "manager.sql").string();
        ASSERT_EQ(runOrvdbBounded("sql --create " + manager + " < " + script, 60, 10000).exitCode,
                  0);
    }
    RunResult upgradeManager(const std::string& more = "") {
        return runOrvdbBounded(upgrade("--kind manager --database Manager " + more), 300, 100000);
    }
    std::string writeStrings(const std::string& name, const std::string& content) {
        const std::string file = (root / name).string();
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    std::string manager;
};

TEST_F(ManagerUpgradeCommandTest, BundledStringsNameTheAdministratorsAndTheHostStateIsShown) {
    RunResult r = upgradeManager();
    ASSERT_EQ(r.exitCode, 0) << r.out;
    for (const char* line :
         {"version before\t1\n", "log\tCurrent Version: 1.00000\n", "version after\t2.18\n",
          "rights\tadministrators\tAdministrateur\n", "rights\tgroup\tAtelier\n",
          "rights\tAtelier\tcompany\tURCCP_USERS\trefused\n",
          "vat rate\tTVA 5,5 %\t5.5\tTaux réduit\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << " in\n" << r.out;
    }
}

// Unusable strings stop the upgrade with the reason and change nothing;
// usable ones name the administrators.
TEST_F(ManagerUpgradeCommandTest, StringsFromAFile) {
    struct Case {
        const char* file;
        const char* content;
        const char* reason;
    };
    const Case cases[] = {
        {"short.txt", "one\ntwo\n", "the host gave 2 upgrade strings; entry 23"},
        {"latin1.txt", "Administrateur\xE9\n", "latin1.txt: not UTF-8 text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        RunResult r = upgradeManager("--strings " + writeStrings(c.file, c.content));
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_NE(r.out.find(c.reason), std::string::npos) << r.out;
    }
    RunResult unchanged =
        runOrvdbBounded("sql " + manager + " \"SELECT Version FROM Version\"", 60, 10000);
    EXPECT_EQ(unchanged.out, "Version\n1\n");

    std::string lines;
    for (int i = 0; i < 23; ++i) {
        lines += "texte " + std::to_string(i) + "\r\n";
    }
    const std::string file = writeStrings("strings.txt", lines + "Chef(5035) d'atelier(5035)\r\n");
    RunResult r = upgradeManager("--strings " + file);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("rights\tadministrators\tChef d'atelier\n"), std::string::npos) << r.out;
    RunResult users = runOrvdbBounded(
        "sql " + manager + " \"SELECT UserName FROM ApplicationUsers WHERE ID=1\"", 60, 10000);
    EXPECT_EQ(users.out, "UserName\nChef d'atelier\n");
}

}  // namespace
}  // namespace orvdb::cli_test
