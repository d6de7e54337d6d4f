#include "cli_run.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

struct OpenCommandTest : ::testing::Test {
    test::TempDir scratch;
    fs::path dir = scratch.path();
    std::string db = scratch.file("demo.mdb");
    std::string ini = scratch.file("connexion.ini");
    void SetUp() override { ASSERT_EQ(runOrvdb("create " + db).exitCode, 0); }
    void settings(const std::string& section) {
        std::ofstream(ini) << "[CONNEXIONDEMO]\n" << section;
    }
};

TEST_F(OpenCommandTest, PrintsWhatOpenDatabaseGives) {
    settings("name=demo\npath=" + db + "\nformat=jet4\nopen=true\n");
    auto r = runOrvdb("open " + ini + " DEMO");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "status\t0\nname\tDEMO\npath\t" + upper(db) + "\nfile\t" + db +
                         "\nparamPath\t\nformat\tJET4\nopened\tyes\n");
}

TEST_F(OpenCommandTest, ClosedUnlessOpenIsTrue) {
    settings("PATH=" + db + "\nOPEN=yes\n");
    auto r = runOrvdb("open " + ini + " DEMO");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("name\tUNDEFINED\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("opened\tno\n"), std::string::npos) << r.out;
}

TEST_F(OpenCommandTest, NoDatabaseIsAFailureWithItsStatus) {
    settings("NAME=\nPATH=" + db + "\n");
    auto empty = runOrvdb("open " + ini + " DEMO");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.out.find("status\t1\n"), std::string::npos) << empty.out;
    EXPECT_NE(empty.out.find("CONNEXIONDEMO"), std::string::npos) << empty.out;

    auto missing = runOrvdb("open " + (dir / "none.ini").string() + " DEMO");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("status\t0x80070057\n"), std::string::npos) << missing.out;
    EXPECT_NE(missing.out.find("none.ini"), std::string::npos) << missing.out;
}

TEST_F(OpenCommandTest, SqlThroughTheCursorsKeepsNullsTypesAndHeaders) {
    auto r = runOrvdb("sql " + db +
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

}  // namespace
}  // namespace orvdb::cli_test
