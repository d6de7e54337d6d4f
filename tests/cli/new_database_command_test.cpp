// `orvdb create` makes an Access file; the definitions SQL then adds to it
// pass `orvdb check` and read as written in mdbtools.
#include "cli_run.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;
using test_support::haveCommand;
using test_support::runCommand;
using test_support::shellQuote;

struct NewDatabaseCommand : ::testing::Test {
    test::TempDir scratch;
    fs::path dir = scratch.path();
    std::string file = scratch.file("Menuiserie.mdb");
};

TEST_F(NewDatabaseCommand, DefinitionsReachTheFileAsMdbtoolsReadsThem) {
    ASSERT_EQ(runOrvdb("create " + file).exitCode, 0);
    auto changed = runOrvdb(
        "sql " + file +
        " \"CREATE TABLE Frame (ID COUNTER PRIMARY KEY, Code TEXT(10) NOT NULL, Width LONG, "
        "Note MEMO)\""
        " \"CREATE TABLE Glass (ID LONG PRIMARY KEY, FrameID LONG, Kind TEXT(20))\""
        " \"ALTER TABLE Frame ALTER COLUMN Code TEXT(20) NOT NULL\""
        " \"ALTER TABLE Frame DROP COLUMN Note\""
        " \"ALTER TABLE Glass ADD CONSTRAINT GlassFrame FOREIGN KEY (FrameID) REFERENCES Frame "
        "(ID)\""
        " \"CREATE UNIQUE INDEX ByCode ON Frame (Code)\""
        " \"INSERT INTO Frame (Code, Width) VALUES ('Fenêtre', 1200)\"");
    ASSERT_EQ(changed.exitCode, 0) << changed.out;
    auto check = runOrvdb("check " + file);
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_EQ(check.out.rfind("OK:", 0), 0u) << check.out;

    // Rows and views of such files are compared with mdbtools and mdb-reader
    // by the engine's write-through and the upgrade suites; the indexes and
    // keys DDL adds only here.
    if (!haveCommand("mdb-schema")) {
        GTEST_SKIP() << "mdbtools is not installed: the comparison with it is skipped";
    }
    std::string schema =
        runCommand("mdb-schema --indexes --relations " + shellQuote(file) + " postgres")
            .value_or("");
    for (const char* expected : {
             "\"code\"\t\t\tVARCHAR (20) NOT NULL",
             "CREATE UNIQUE INDEX \"frame_bycode_idx\" ON \"frame\" (\"code\");",
             "ALTER TABLE \"frame\" ADD CONSTRAINT \"frame_pkey\" PRIMARY KEY (\"id\");",
             "FOREIGN KEY (\"frameid\") REFERENCES \"Frame\"(\"id\")",
         }) {
        EXPECT_NE(schema.find(expected), std::string::npos) << expected << "\n" << schema;
    }
    EXPECT_EQ(schema.find("\"note\""), std::string::npos) << schema;
}

TEST_F(NewDatabaseCommand, CreateRefusesWhatItCannotMake) {
    ASSERT_EQ(runOrvdb("create " + file).exitCode, 0);
    auto again = runOrvdb("create " + file);
    EXPECT_NE(again.exitCode, 0);
    EXPECT_NE(again.out.find("already exists"), std::string::npos) << again.out;
    auto noFolder = runOrvdb("create " + (dir / "missing" / "x.mdb").string());
    EXPECT_NE(noFolder.exitCode, 0);
    EXPECT_NE(noFolder.out.find("does not exist"), std::string::npos) << noFolder.out;
}

}  // namespace
}  // namespace orvdb::cli_test
