// `orvdb export` streams Access files straight from their pages; the output
// must be byte for byte what the same export through the SQL engine gives.
#include "cli_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> fileNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

using ExportPaths = JetFixtureTest;

// One file per table (CSV and JSON) and all tables on stdout (TSV), for
// every fixture: the table list, its order, the fields and every value text.
TEST_F(ExportPaths, StreamedExportMatchesTheEngineForEveryFixture) {
    for (const test::JetFixtureFile& fixture : test::kJetFixtures) {
        SCOPED_TRACE(fixture.file);
        const fs::path file = jetFixture(fixture.file);
        std::string common =
            (fixture.password ? "--password " + std::string(fixture.password) + " " : "") +
            std::string("export \"") + file.string() + "\" ";
        for (const std::string format : {"csv", "json"}) {
            SCOPED_TRACE(format);
            fs::path streamed = dir / (file.stem().string() + "-" + format);
            fs::path engine = dir / (file.stem().string() + "-" + format + "-engine");
            auto a = runOrvdb(common + "--format " + format + " --out " + streamed.string());
            auto b = runOrvdb(common + "--format " + format + " --through-engine --out " +
                              engine.string());
            ASSERT_EQ(a.exitCode, 0) << a.out;
            ASSERT_EQ(b.exitCode, 0) << b.out;
            ASSERT_EQ(fileNames(streamed), fileNames(engine));
            for (const std::string& name : fileNames(engine)) {
                EXPECT_EQ(test::readFile(streamed / name), test::readFile(engine / name)) << name;
            }
        }
        auto a = runOrvdb(common + "--format tsv");
        auto b = runOrvdb(common + "--format tsv --through-engine");
        ASSERT_EQ(a.exitCode, 0) << a.out;
        EXPECT_EQ(a.out, b.out);
    }
}

TEST_F(ExportPaths, NamedTablesAreFoundWithoutRegardToCase) {
    std::string file = jetFixture("northwind.mdb");
    auto a = runOrvdb("export " + file + " shippers \"ORDER DETAILS\" --format json");
    auto b =
        runOrvdb("export " + file + " shippers \"ORDER DETAILS\" --format json --through-engine");
    ASSERT_EQ(a.exitCode, 0) << a.out;
    EXPECT_NE(a.out.find("-- ORDER DETAILS\n"), std::string::npos) << "names as given";
    EXPECT_EQ(a.out, b.out);
}

TEST_F(ExportPaths, AMissingTableIsNamedAndNoFileIsLeft) {
    auto r = runOrvdb("export " + jetFixture("northwind.mdb") + " Shippers NoSuchTable --out " +
                      dir.string());
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find("NoSuchTable"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("northwind.mdb"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dir / "Shippers.csv"));
    EXPECT_FALSE(fs::exists(dir / "NoSuchTable.csv"));
}

}  // namespace
}  // namespace orvdb::cli_test
