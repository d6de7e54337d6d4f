// `orvdb create` makes an Access file; what SQL then does to it is in the
// file for every reader: orvdb itself after reopening, `orvdb check`,
// mdbtools and the npm package mdb-reader.
#include "cli_run.hpp"
#include "support/mdb_reader.hpp"
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

TEST_F(NewDatabaseCommand, DefinitionsAndRowsReachEveryReader) {
    ASSERT_EQ(runOrvdb("create " + file).exitCode, 0);
    auto changed = runOrvdb(
        "sql " + file +
        " \"CREATE TABLE Frame (ID COUNTER PRIMARY KEY, Code TEXT(10) NOT NULL, Width LONG, "
        "Note MEMO)\""
        " \"CREATE TABLE Glass (ID LONG PRIMARY KEY, FrameID LONG, Kind TEXT(20))\""
        " \"ALTER TABLE Frame ADD COLUMN Height LONG\""
        " \"ALTER TABLE Frame ALTER COLUMN Code TEXT(20) NOT NULL\""
        " \"ALTER TABLE Frame DROP COLUMN Note\""
        " \"ALTER TABLE Glass ADD CONSTRAINT GlassFrame FOREIGN KEY (FrameID) REFERENCES Frame "
        "(ID)\""
        " \"CREATE UNIQUE INDEX ByCode ON Frame (Code)\""
        " \"CREATE VIEW Wide AS SELECT Code FROM Frame WHERE Width > 1000\""
        " \"CREATE VIEW Everything AS SELECT Code FROM Frame UNION SELECT Kind FROM Glass\""
        " \"INSERT INTO Frame (Code, Width, Height) VALUES ('Fenêtre', 1200, 1350)\""
        " \"INSERT INTO Frame (Code, Width, Height) VALUES ('Porte', 900, 2150)\""
        " \"INSERT INTO Frame (Code, Width) VALUES ('Baie', 2400)\""
        " \"INSERT INTO Glass VALUES (1, 1, 'Double')\""
        " \"INSERT INTO Glass VALUES (2, 3, 'Triple')\""
        " \"UPDATE Frame SET Height = 2000 WHERE Code = 'Baie'\""
        " \"DELETE FROM Frame WHERE Code = 'Porte'\"");
    ASSERT_EQ(changed.exitCode, 0) << changed.out;

    auto check = runOrvdb("check " + file);
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_EQ(check.out.rfind("OK:", 0), 0u) << check.out;

    auto read = runOrvdb("sql " + file +
                         " \"SELECT ID, Code, Width, Height FROM Frame ORDER BY ID\""
                         " \"SELECT * FROM Everything\" \"SELECT * FROM Wide\"");
    ASSERT_EQ(read.exitCode, 0) << read.out;
    EXPECT_EQ(read.out,
              "ID\tCode\tWidth\tHeight\n1\tFenêtre\t1200\t1350\n3\tBaie\t2400\t2000\n"
              "Code\nBaie\nDouble\nFenêtre\nTriple\nCode\nFenêtre\nBaie\n");
    // The relationship and the unique index still hold.
    EXPECT_NE(runOrvdb("sql " + file + " \"INSERT INTO Glass VALUES (3, 2, 'x')\"").exitCode, 0);
    EXPECT_NE(runOrvdb("sql " + file + " \"INSERT INTO Frame (Code) VALUES ('baie')\"").exitCode,
              0);

    if (!haveCommand("mdb-export")) {
        GTEST_SKIP() << "mdbtools is not installed: the comparison with it is skipped";
    }
    EXPECT_EQ(runCommand("mdb-export " + shellQuote(file) + " Frame"),
              "ID,Code,Width,Height\n1,\"Fenêtre\",1200,1350\n3,\"Baie\",2400,2000\n");
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
    EXPECT_EQ(runCommand("mdb-queries " + shellQuote(file) + " Wide"),
              "SELECT Code FROM [Frame] WHERE Width > 1000 \n");

    if (std::string missing = test_support::mdbReaderUnavailable(); !missing.empty()) {
        GTEST_SKIP() << "comparison with mdb-reader skipped: " << missing;
    }
    std::string dump = test_support::mdbReaderDump(file).value_or("");
    for (const char* expected : {
             "\"name\": \"Frame\"",
             "[\n     1,\n     \"Fenêtre\",\n     1200,\n     1350\n    ]",
             "[\n     3,\n     \"Baie\",\n     2400,\n     2000\n    ]",
             "[\n     2,\n     3,\n     \"Triple\"\n    ]",
         }) {
        EXPECT_NE(dump.find(expected), std::string::npos) << expected << "\n" << dump;
    }
    EXPECT_EQ(dump.find("Porte"), std::string::npos) << dump;
    EXPECT_EQ(dump.find("\"Note\""), std::string::npos) << dump;
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
