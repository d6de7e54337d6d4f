// `orvdb create`, `sql` and `open` on a database of their own: the
// definitions reach the file as check and mdbtools read them, and what the
// cursors give is printed as it is.
#include "cli_run.hpp"
#include "support/shell_command.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;
using test_support::shellQuote;

struct DatabaseCommands : ::testing::Test {
    test::TempDir scratch;
    fs::path dir = scratch.path();
    std::string db = scratch.file("demo.mdb");
};

TEST_F(DatabaseCommands, CreateRunAndPrintAsTsv) {
    ASSERT_EQ(runOrvdb("create " + db).exitCode, 0);
    auto r = runOrvdb("sql " + db +
                      " \"CREATE TABLE T (ID COUNTER PRIMARY KEY, Name VARCHAR(20), Note MEMO)\""
                      " \"INSERT INTO T (Name, Note) VALUES ('a', 'two' & Chr(9) & 'parts')\""
                      " \"INSERT INTO T (Name) VALUES ('b')\""
                      " \"SELECT ID, Name, Note FROM T ORDER BY ID\"");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "ID\tName\tNote\n1\ta\ttwo\\tparts\n2\tb\t\\N\n");
    EXPECT_EQ(runOrvdb("tables " + db).out, "T\n");
}

TEST_F(DatabaseCommands, SqlThroughTheCursorsKeepsNullsTypesAndHeaders) {
    auto r = runOrvdb("sql --create " + db +
                      " \"CREATE TABLE T (A LONG, B VARCHAR(5), C YESNO, D DOUBLE)\""
                      " \"INSERT INTO T VALUES (1, 'x', True, 2.5)\""
                      " \"INSERT INTO T (A) VALUES (2)\""
                      " \"SELECT * FROM T WHERE A=0\""
                      " \"SELECT * FROM T ORDER BY A\" --format json");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out,
              "[]\n"
              "[\n  {\"A\": 1, \"B\": \"x\", \"C\": true, \"D\": 2.5},\n"
              "  {\"A\": 2, \"B\": null, \"C\": false, \"D\": null}\n]\n");
}

// The cursor keeps a failing statement quiet; the CLI asks it for the error,
// prints the engine's message alone (not the statement, not the debug
// channel) and stops. A select that finds nothing, or a change that changes
// nothing, is no error.
TEST_F(DatabaseCommands, FirstFailingStatementStopsWithItsError) {
    struct Case {
        const char* name;
        const char* statement;
        int exitCode;
        const char* out;
    };
    const Case kCases[] = {
        {"select", "SELECT Nope FROM Missing", 1,
         "orvdb: The Microsoft Jet database engine cannot find the input table or query "
         "'Missing'.  Make sure it exists and that its name is spelled correctly.\n"},
        {"action", "DROP TABLE Missing", 1,
         "orvdb: The Microsoft Jet database engine cannot find the input table or query "
         "'Missing'.  Make sure it exists and that its name is spelled correctly.\n"},
        {"definition", "CREATE TABLE t (B LONG)", 1, "orvdb: Table 't' already exists.\n"},
        {"empty", "SELECT A FROM T WHERE A = 1", 0, "A\n"},
        {"unchanged", "DELETE FROM T", 0, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string file = (dir / (std::string(c.name) + ".mdb")).string();
        auto r = runOrvdb("sql --create " + file + " \"CREATE TABLE T (A LONG)\" \"" + c.statement +
                          "\" \"DROP TABLE T\"");
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
        // Statements after a failure did not run.
        EXPECT_EQ(runOrvdb("tables " + file).out, c.exitCode == 0 ? "" : "T\n");
    }
}

TEST_F(DatabaseCommands, StatementsFromStdinWithContinuationLines) {
    std::ofstream(dir / "in.sql") << "CREATE TABLE T (A LONG, \\\n B VARCHAR(5))\n"
                                  << "INSERT INTO T VALUES (1, 'x')\n\n"
                                  << "SELECT * FROM T\n";
    auto r = runOrvdb("sql --create --format csv " + db + " < " + (dir / "in.sql").string());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "A,B\n1,x\n");
}

TEST_F(DatabaseCommands, DefinitionsReachTheFileAsMdbtoolsReadsThemAndCreateRefusesOverIt) {
    ASSERT_EQ(runOrvdb("create " + db).exitCode, 0);
    auto changed = runOrvdb(
        "sql " + db +
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
    auto check = runOrvdb("check " + db);
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_EQ(check.out.rfind("OK:", 0), 0u) << check.out;
    auto again = runOrvdb("create " + db);
    EXPECT_NE(again.exitCode, 0);
    EXPECT_NE(again.out.find("already exists"), std::string::npos) << again.out;
    auto noFolder = runOrvdb("create " + (dir / "missing" / "x.mdb").string());
    EXPECT_NE(noFolder.exitCode, 0);
    EXPECT_NE(noFolder.out.find("does not exist"), std::string::npos) << noFolder.out;

    // Rows and views of such files are compared with mdbtools and mdb-reader
    // by the engine's write-through and the upgrade suites; the indexes and
    // keys DDL adds only here.
    if (!test_support::haveCommand("mdb-schema")) {
        GTEST_SKIP() << "mdbtools is not installed: the comparison with it is skipped";
    }
    std::string schema =
        test_support::runCommand("mdb-schema --indexes --relations " + shellQuote(db) + " postgres")
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

// Which settings give which database is OpenDatabase's (the module suite);
// the command prints what it gave, or its status when it gave none.
TEST_F(DatabaseCommands, OpenPrintsWhatOpenDatabaseGives) {
    ASSERT_EQ(runOrvdb("create " + db).exitCode, 0);
    const std::string ini = scratch.file("connexion.ini");
    std::string upper = db;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    test::writeFile(ini, "[CONNEXIONDEMO]\nname=demo\npath=" + db + "\nformat=jet4\nopen=true\n");
    auto r = runOrvdb("open " + ini + " DEMO");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "status\t0\nname\tDEMO\npath\t" + upper + "\nfile\t" + db +
                         "\nparamPath\t\nformat\tJET4\nopened\tyes\n");
    test::writeFile(ini, "[CONNEXIONDEMO]\nPATH=" + db + "\n");
    EXPECT_NE(runOrvdb("open " + ini + " DEMO").out.find("opened\tno\n"), std::string::npos);

    test::writeFile(ini, "[CONNEXIONDEMO]\nNAME=\nPATH=" + db + "\n");
    auto empty = runOrvdb("open " + ini + " DEMO");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.out.find("status\t1\n"), std::string::npos) << empty.out;
    EXPECT_NE(empty.out.find("CONNEXIONDEMO"), std::string::npos) << empty.out;
    auto missing = runOrvdb("open " + (dir / "none.ini").string() + " DEMO");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("status\t0x80070057\n"), std::string::npos) << missing.out;
    EXPECT_NE(missing.out.find("none.ini"), std::string::npos) << missing.out;
}

}  // namespace
}  // namespace orvdb::cli_test
