// `orvdb export` streams Access files straight from their pages; the output
// must be byte for byte what the same export through the SQL engine gives.
#include "../support/temp_dir.hpp"
#include "cli_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvdb::cli_test {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(ORVDB_FIXTURES_DIR) / "jet4";

std::vector<std::string> fileNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<fs::path> fixtureFiles() {
    std::vector<fs::path> files;
    if (!fs::is_directory(kFixtures)) {
        return files;
    }
    for (const auto& entry : fs::directory_iterator(kFixtures)) {
        if (entry.path().extension() == ".mdb") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string passwordOption(const fs::path& file) {
    return file.filename() == "withPassword2000.mdb" ? "--password password " : "";
}

struct ExportPaths : ::testing::Test {
    void SetUp() override {
        if (fixtureFiles().empty()) {
            GTEST_SKIP() << "Jet fixtures not found under " << kFixtures;
        }
        scratch = fs::temp_directory_path() / ("orvdb-export-paths-" + std::to_string(::getpid()));
        fs::remove_all(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }
    fs::path scratch;
};

// One file per table (CSV and JSON) and all tables on stdout (TSV), for
// every fixture: the table list, its order, the fields and every value text.
TEST_F(ExportPaths, StreamedExportMatchesTheEngineForEveryFixture) {
    for (const fs::path& file : fixtureFiles()) {
        SCOPED_TRACE(file.filename().string());
        std::string common = passwordOption(file) + "export \"" + file.string() + "\" ";
        for (const char* format : {"csv", "json"}) {
            SCOPED_TRACE(format);
            fs::path streamed = scratch / "streamed";
            fs::path engine = scratch / "engine";
            auto a = runOrvdb(common + "--format " + format + " --out " + streamed.string());
            auto b = runOrvdb(common + "--format " + format + " --through-engine --out " +
                              engine.string());
            ASSERT_EQ(a.exitCode, 0) << a.out;
            ASSERT_EQ(b.exitCode, 0) << b.out;
            ASSERT_EQ(fileNames(streamed), fileNames(engine));
            for (const std::string& name : fileNames(engine)) {
                EXPECT_EQ(test::readFile(streamed / name), test::readFile(engine / name)) << name;
            }
            fs::remove_all(scratch);
        }
        auto a = runOrvdb(common + "--format tsv");
        auto b = runOrvdb(common + "--format tsv --through-engine");
        ASSERT_EQ(a.exitCode, 0) << a.out;
        EXPECT_EQ(a.out, b.out);
    }
}

TEST_F(ExportPaths, NamedTablesAreFoundWithoutRegardToCase) {
    std::string file = (kFixtures / "northwind.mdb").string();
    auto a = runOrvdb("export " + file + " shippers \"ORDER DETAILS\" --format json");
    auto b =
        runOrvdb("export " + file + " shippers \"ORDER DETAILS\" --format json --through-engine");
    ASSERT_EQ(a.exitCode, 0) << a.out;
    EXPECT_NE(a.out.find("-- ORDER DETAILS\n"), std::string::npos) << "names as given";
    EXPECT_EQ(a.out, b.out);
}

TEST_F(ExportPaths, AMissingTableIsNamedAndNoFileIsLeft) {
    std::string file = (kFixtures / "northwind.mdb").string();
    auto r = runOrvdb("export " + file + " Shippers NoSuchTable --out " + scratch.string());
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.out.find("NoSuchTable"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("northwind.mdb"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(scratch / "Shippers.csv"));
    EXPECT_FALSE(fs::exists(scratch / "NoSuchTable.csv"));
}

}  // namespace
}  // namespace orvdb::cli_test
