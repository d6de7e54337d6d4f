#include "cli_run.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

struct SqlCommandTest : ::testing::Test {
    test::TempDir scratch;
    fs::path dir = scratch.path();
    std::string db = scratch.file("demo.mdb");
};

TEST_F(SqlCommandTest, CreateRunAndPrintAsTsv) {
    ASSERT_EQ(runOrvdb("create " + db).exitCode, 0);
    auto r = runOrvdb("sql " + db +
                      " \"CREATE TABLE T (ID COUNTER PRIMARY KEY, Name VARCHAR(20), Note MEMO)\""
                      " \"INSERT INTO T (Name, Note) VALUES ('a', 'two' & Chr(9) & 'parts')\""
                      " \"INSERT INTO T (Name) VALUES ('b')\""
                      " \"SELECT ID, Name, Note FROM T ORDER BY ID\"");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "ID\tName\tNote\n1\ta\ttwo\\tparts\n2\tb\t\\N\n");
    auto tables = runOrvdb("tables " + db);
    EXPECT_EQ(tables.out, "T\n");
    auto schema = runOrvdb("schema " + db);
    EXPECT_NE(schema.out.find("CREATE TABLE [T]"), std::string::npos) << schema.out;
    EXPECT_NE(schema.out.find("[ID] COUNTER"), std::string::npos);
    EXPECT_NE(schema.out.find("WITH PRIMARY"), std::string::npos);
}

// The cursor keeps a failing statement quiet; the CLI asks it for the error,
// prints the engine's message alone (not the statement, not the debug
// channel) and stops. A select that finds nothing, or a change that changes
// nothing, is no error.
TEST_F(SqlCommandTest, FirstFailingStatementStopsWithItsError) {
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

TEST_F(SqlCommandTest, StatementsFromStdinWithContinuationLines) {
    std::ofstream(dir / "in.sql") << "CREATE TABLE T (A LONG, \\\n B VARCHAR(5))\n"
                                  << "INSERT INTO T VALUES (1, 'x')\n\n"
                                  << "SELECT * FROM T\n";
    auto r = runOrvdb("sql --create --format csv " + db + " < " + (dir / "in.sql").string());
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "A,B\n1,x\n");
}

}  // namespace
}  // namespace orvdb::cli_test
