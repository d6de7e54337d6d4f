// Commands on Access files: schema, info and export read them; commands that
// change one write it back when they end; compact rewrites one in place.
#include "cli_run.hpp"
#include "support/shell_command.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <sstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

using JetFileCommands = JetFixtureTest;

TEST_F(JetFileCommands, SchemaListsIndexesAndRelationshipsOfAccessFiles) {
    auto r = runOrvdb("schema " + jetFixture("indexTestV2000.mdb"));
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("CREATE INDEX [PrimaryKey] ON [Table1] ([id]) WITH PRIMARY;"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("ADD CONSTRAINT [Table2Table1] FOREIGN KEY ([otherfk1]) REFERENCES "
                         "[Table2] ([id]) ON DELETE CASCADE;"),
              std::string::npos);
    EXPECT_EQ(r.out.find("MSysNavPane"), std::string::npos) << "Access's own tables stay out";
    auto nw = runOrvdb("schema " + jetFixture("northwind.mdb"));
    EXPECT_NE(nw.out.find("REFERENCES [Customers] ([CustomerID])"), std::string::npos) << nw.out;
    EXPECT_NE(nw.out.find("CREATE VIEW"), std::string::npos);
}

// What `schema` prints of a table is DDL that orvdb runs again: Access's
// "=No" defaults and GenGUID() keys included, and the new file's schema
// prints the same.
TEST_F(JetFileCommands, SchemaTablesRunAgainIntoANewFile) {
    for (const char* name : {"northwind.mdb", "testV2000.mdb"}) {
        SCOPED_TRACE(name);
        auto original = runOrvdb("schema " + jetFixture(name));
        ASSERT_EQ(original.exitCode, 0) << original.out;
        // One statement a line for `sql` (a line ending in a backslash goes on).
        std::string tables;
        std::string script;
        std::istringstream statements(original.out);
        for (std::string statement; std::getline(statements, statement, ';');) {
            statement.erase(0, statement.find_first_not_of('\n'));
            if (!statement.starts_with("CREATE TABLE") && !statement.starts_with("CREATE INDEX")) {
                continue;
            }
            tables += statement + ";\n";
            for (char c : statement) {
                script += c == '\n' ? std::string("\\\n") : std::string(1, c);
            }
            script += '\n';
        }
        const std::string scriptFile = scratch.file(std::string(name) + ".sql");
        test::writeFile(scriptFile, script);
        const std::string copy = scratch.file(name);
        auto replayed = runOrvdb("sql --create " + test_support::shellQuote(copy) + " < " +
                                 test_support::shellQuote(scriptFile));
        ASSERT_EQ(replayed.exitCode, 0) << replayed.out;
        auto again = runOrvdb("schema " + test_support::shellQuote(copy));
        EXPECT_EQ(again.out.substr(0, again.out.find("ALTER TABLE")), tables);
        if (std::string(name) == "testV2000.mdb") {
            // Table4's key is a GUID that only its default fills.
            auto inserted = runOrvdb("sql " + test_support::shellQuote(copy) +
                                     " \"INSERT INTO Table4 (name) VALUES ('a')\"");
            EXPECT_EQ(inserted.exitCode, 0) << inserted.out;
        }
    }
}

TEST_F(JetFileCommands, InfoAndExport) {
    auto info = runOrvdb("info " + jetFixture("northwind.mdb"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.out.find("Code page: 1252"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Order Details: 2155 rows"), std::string::npos) << info.out;

    auto csv = runOrvdb("export " + jetFixture("northwind.mdb") + " Shippers --format csv");
    EXPECT_EQ(csv.out,
              "ShipperID,CompanyName,Phone\n1,Speedy Express,(503) 555-9831\n"
              "2,United Package,(503) 555-3199\n3,Federal Shipping,(503) 555-9931\n");

    auto all =
        runOrvdb("export " + jetFixture("northwind.mdb") + " --format tsv --out " + dir.string());
    EXPECT_EQ(all.exitCode, 0) << all.out;
    const std::string details = test::readFile(dir / "Order Details.tsv");
    EXPECT_EQ(std::count(details.begin(), details.end(), '\n'), 2156) << "header + every row";
}

struct JetWriteCommands : JetFixtureTest {
    std::string file = scratch.file("northwind.mdb");

    void SetUp() override {
        JetFixtureTest::SetUp();
        if (!IsSkipped()) {
            fs::copy_file(jetFixture("northwind.mdb"), file);
            fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        }
    }
};

TEST_F(JetWriteCommands, SqlChangesReachTheFile) {
    auto r = runOrvdb("sql " + file +
                      " \"UPDATE Shippers SET CompanyName = 'Vite' WHERE ShipperID = 1\""
                      " \"CREATE TABLE Note (ID COUNTER PRIMARY KEY, Body TEXT(30))\""
                      " \"INSERT INTO Note (Body) VALUES ('menuiserie')\"");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_FALSE(fs::exists(file + ".orvlock"));
    auto read = runOrvdb("sql " + file +
                         " \"SELECT CompanyName FROM Shippers WHERE ShipperID = 1\""
                         " \"SELECT Body FROM Note\"");
    ASSERT_EQ(read.exitCode, 0) << read.out;
    EXPECT_EQ(read.out, "CompanyName\nVite\nBody\nmenuiserie\n");
}

TEST_F(JetWriteCommands, CompactRewritesTheFileKeepingItsData) {
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    auto r = runOrvdb("compact " + file);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "a new file took the old one's place";
    auto count = runOrvdb("sql " + file + " \"SELECT Count(*) AS N FROM [Order Details]\"");
    EXPECT_EQ(count.out, "N\n2155\n");
}

// Bad input: each command fails naming the file or why, and a write-protected
// file is left as it was.
TEST_F(JetWriteCommands, CommandsNameTheFileOrWhyTheyCannotRun) {
    const std::string missing = (dir / "none.mdb").string();
    const std::string locked = jetFixture("withPassword2000.mdb");
    struct Case {
        std::string args;
        const char* says;
    };
    const Case cases[] = {
        {"tables " + missing, "none.mdb"},
        {"compact " + missing, "none.mdb"},
        {"tables " + locked, "password"},
        {"--password nope tables " + locked, "password"},
        {"check " + locked, "password"},
        {"sql " + file + " \"DELETE FROM Shippers\"", "read-only"},
        {"compact " + file, "read-only"},
    };
    fs::permissions(file, fs::perms::owner_read);
    for (const Case& c : cases) {
        auto r = runOrvdb(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << ": " << r.out;
    }
    EXPECT_EQ(runOrvdb("sql " + file + " \"SELECT Count(*) AS N FROM Shippers\"").out, "N\n3\n");
}

// A command that only reads, or fails (to open, to parse, on a rule), writes
// nothing: the file keeps its bytes and its modification time, and no
// journal or lock file stays beside it.
TEST_F(JetWriteCommands, ReadingOrFailingCommandsNeverWriteTheFile) {
    const std::string truncated = (dir / "truncated.mdb").string();
    test::writeFile(truncated, test::readFile(file).substr(0, 3 * 4096));
    const std::string out = (dir / "out").string();
    struct Case {
        std::string file;
        std::string args;  // FILE stands for the file
        int exitCode;
    };
    const Case cases[] = {
        {file, "tables FILE", 0},
        {file, "schema FILE", 0},
        {file, "info FILE", 0},
        {file, "check FILE", 0},
        {file, "export FILE --out " + out, 0},
        {file, "sql FILE \"SELECT Count(*) FROM Orders\"", 0},
        {file, "repair FILE --out " + (dir / "copy.mdb").string(), 0},
        {file, "sql FILE \"SELEC 1\"", 1},
        {file, "sql FILE \"SELECT * FROM Nowhere\"", 1},
        {file, "sql FILE \"INSERT INTO Shippers (ShipperID, CompanyName) VALUES (1, 'x')\"", 1},
        {file, "sql FILE \"UPDATE Shippers SET CompanyName = Null\"", 1},
        {file, "export FILE Nowhere", 1},
        {truncated, "tables FILE", 1},
        {truncated, "sql FILE \"SELECT 1\"", 1},
        {truncated, "compact FILE", 1},
    };
    fs::create_directories(out);
    for (const Case& c : cases) {
        const std::string before = test::readFile(c.file);
        struct stat statBefore {};
        ASSERT_EQ(::stat(c.file.c_str(), &statBefore), 0);
        std::string args = c.args;
        args.replace(args.find("FILE"), 4, c.file);
        auto r = runOrvdbBounded(args, 60, 1 << 20);
        EXPECT_EQ(r.exitCode, c.exitCode) << args << ": " << r.out;
        struct stat statAfter {};
        ASSERT_EQ(::stat(c.file.c_str(), &statAfter), 0);
        EXPECT_EQ(test::readFile(c.file), before) << args;
        EXPECT_EQ(statAfter.st_mtim.tv_sec, statBefore.st_mtim.tv_sec) << args;
        EXPECT_EQ(statAfter.st_mtim.tv_nsec, statBefore.st_mtim.tv_nsec) << args;
        EXPECT_FALSE(fs::exists(c.file + "-journal")) << args;
        EXPECT_FALSE(fs::exists(c.file + ".orvlock")) << args;
    }
}

}  // namespace
}  // namespace orvdb::cli_test
