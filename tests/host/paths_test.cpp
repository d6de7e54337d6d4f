#include "host/paths.hpp"

#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

namespace orvdb::host {
namespace {

using test::TempDir;
using test::writeFile;

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir.path() / "Providers/Acme/XLibData.mdb", "db");
        writeFile(dir.path() / "Data/DataModel.Dat", "model");
        writeFile(dir.path() / "Français/Été.txt", "t");
    }
    std::string root() const { return dir.path().string(); }
    TempDir dir;
};

TEST_F(PathsTest, ResolvesSuitePathsAgainstTheFileSystem) {
    struct Case {
        const char* suitePath;  // relative to the temp folder
        const char* expected;
    };
    const Case cases[] = {
        {"\\Providers\\ACME\\xlibdata.MDB", "/Providers/Acme/XLibData.mdb"},
        {"/providers/acme/", "/Providers/Acme/"},
        {"\\DATA\\datamodel.dat", "/Data/DataModel.Dat"},
        // Components that do not exist are kept as written, the rest resolved.
        {"\\PROVIDERS\\NewOne\\XLibData.mdb", "/Providers/NewOne/XLibData.mdb"},
        {"/Providers/acme/xlibdata.mdb/below", "/Providers/Acme/XLibData.mdb/below"},
        // Repeated separators collapse; the trailing one stays.
        {"//Providers\\\\ACME\\\\", "/Providers/Acme/"},
        // Unicode case folding, not only ASCII.
        {"/FRANÇAIS/ÉTÉ.TXT", "/Français/Été.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolvePath(root() + c.suitePath), root() + c.expected) << c.suitePath;
    }
}

TEST_F(PathsTest, ExactMatchWinsOverCaseInsensitiveOne) {
    writeFile(dir.path() / "DATA/other.txt", "x");
    EXPECT_EQ(resolvePath(root() + "/DATA/OTHER.TXT"), root() + "/DATA/other.txt");
    EXPECT_EQ(resolvePath(root() + "/Data/datamodel.dat"), root() + "/Data/DataModel.Dat");
    // Neither spelling matches exactly: the byte-wise smallest name is taken.
    EXPECT_EQ(resolvePath(root() + "/data"), root() + "/DATA");
}

TEST_F(PathsTest, RelativePathsResolveFromTheCurrentDirectoryAndStayRelative) {
    std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(root().c_str()), 0);
    std::string resolved = resolvePath("providers\\ACME\\XLIBDATA.mdb");
    std::string dotted = resolvePath(".\\data\\..\\PROVIDERS");
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_EQ(resolved, "Providers/Acme/XLibData.mdb");
    EXPECT_EQ(dotted, "./Data/../Providers");
}

TEST_F(PathsTest, ExistenceTestsIgnoreCaseAndTellFilesFromFolders) {
    EXPECT_TRUE(fileExists(root() + "\\PROVIDERS\\acme\\XLIBDATA.MDB"));
    EXPECT_FALSE(directoryExists(root() + "\\PROVIDERS\\acme\\XLIBDATA.MDB"));
    EXPECT_TRUE(directoryExists(root() + "\\providers\\ACME\\"));
    EXPECT_FALSE(fileExists(root() + "\\providers\\ACME"));
    EXPECT_FALSE(fileExists(root() + "\\Providers\\Other\\XLibData.mdb"));
    EXPECT_FALSE(directoryExists(root() + "/nothing"));
}

TEST(PathsEdgeTest, EmptyAndRootPaths) {
    EXPECT_EQ(resolvePath(""), "");
    EXPECT_EQ(resolvePath("\\"), "/");
    EXPECT_TRUE(directoryExists("/"));
}

}  // namespace
}  // namespace orvdb::host
