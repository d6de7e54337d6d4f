#include "cli_run.hpp"
#include "support/shell_command.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

std::string fixture(const std::string& name) {
    return std::string(ORVDB_FIXTURES_DIR) + "/jet4/" + name;
}

struct JetFileCommands : ::testing::Test {
    void SetUp() override {
        if (!fs::exists(fixture("northwind.mdb"))) {
            GTEST_SKIP() << "Jet fixtures not found under " << ORVDB_FIXTURES_DIR;
        }
    }
};

TEST_F(JetFileCommands, SchemaListsIndexesAndRelationshipsOfAccessFiles) {
    auto r = runOrvdb("schema " + fixture("indexTestV2000.mdb"));
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("CREATE INDEX [PrimaryKey] ON [Table1] ([id]) WITH PRIMARY;"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("ADD CONSTRAINT [Table2Table1] FOREIGN KEY ([otherfk1]) REFERENCES "
                         "[Table2] ([id]) ON DELETE CASCADE;"),
              std::string::npos);
    EXPECT_EQ(r.out.find("MSysNavPane"), std::string::npos) << "Access's own tables stay out";
    auto nw = runOrvdb("schema " + fixture("northwind.mdb"));
    EXPECT_NE(nw.out.find("REFERENCES [Customers] ([CustomerID])"), std::string::npos) << nw.out;
    EXPECT_NE(nw.out.find("CREATE VIEW"), std::string::npos);
}

// What `schema` prints of a table is DDL that orvdb runs again: Access's
// "=No" defaults and GenGUID() keys included, and the new file's schema
// prints the same.
TEST_F(JetFileCommands, SchemaTablesRunAgainIntoANewFile) {
    for (const char* name : {"northwind.mdb", "testV2000.mdb"}) {
        SCOPED_TRACE(name);
        auto original = runOrvdb("schema " + fixture(name));
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
        test::TempDir scratch;
        const std::string scriptFile = scratch.file("schema.sql");
        test::writeFile(scriptFile, script);
        const std::string copy = scratch.file("copy.mdb");
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
    auto info = runOrvdb("info " + fixture("northwind.mdb"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.out.find("Code page: 1252"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Order Details: 2155 rows"), std::string::npos) << info.out;

    auto csv = runOrvdb("export " + fixture("northwind.mdb") + " Shippers --format csv");
    EXPECT_EQ(csv.out,
              "ShipperID,CompanyName,Phone\n1,Speedy Express,(503) 555-9831\n"
              "2,United Package,(503) 555-3199\n3,Federal Shipping,(503) 555-9931\n");

    fs::path out = fs::temp_directory_path() / ("orvdb-export-" + std::to_string(::getpid()));
    auto all =
        runOrvdb("export " + fixture("northwind.mdb") + " --format tsv --out " + out.string());
    EXPECT_EQ(all.exitCode, 0) << all.out;
    EXPECT_TRUE(fs::exists(out / "Order Details.tsv"));
    std::ifstream details(out / "Order Details.tsv");
    size_t lines = 0;
    for (std::string line; std::getline(details, line);) {
        ++lines;
    }
    EXPECT_EQ(lines, 2156u) << "header + every row";
    fs::remove_all(out);
}

}  // namespace
}  // namespace orvdb::cli_test
