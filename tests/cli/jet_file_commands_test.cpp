#include "cli_run.hpp"

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
