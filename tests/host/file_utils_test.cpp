// Suite paths on the file system: resolved without regard to case, and the
// folder and file operations on them.
#include "host/file_utils.hpp"
#include "host/paths.hpp"
#include "host/text_file_writer.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

namespace orvdb::host {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct FileUtilsTest : ::testing::Test {
    TempDir dir;
};

TEST_F(FileUtilsTest, SilentCopyDirCopiesNestedFoldersAndOverwritesExistingFiles) {
    writeFile(dir.path() / "In/XLibData.mdb", "new db");
    writeFile(dir.path() / "In/Shapes/Frames/DIRECTORIES.XML", "<new/>");
    writeFile(dir.path() / "In/X2D/a.x2d", "a");
    writeFile(dir.path() / "Out/XLibData.mdb", "old database content, longer");
    writeFile(dir.path() / "Out/keep.txt", "kept");

    SilentCopyDir(dir / "In", dir / "out");  // case of an existing folder ignored

    EXPECT_EQ(readFile(dir.path() / "Out/XLibData.mdb"), "new db");
    EXPECT_EQ(readFile(dir.path() / "Out/Shapes/Frames/DIRECTORIES.XML"), "<new/>");
    EXPECT_EQ(readFile(dir.path() / "Out/X2D/a.x2d"), "a");
    EXPECT_EQ(readFile(dir.path() / "Out/keep.txt"), "kept");
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
    EXPECT_FALSE(fs::exists(dir.path() / "Out/In"));
    // A missing destination is made, parents included.
    SilentCopyDir(dir / "In", dir / "New\\Deeper\\Copy");
    EXPECT_EQ(readFile(dir.path() / "New/Deeper/Copy/X2D/a.x2d"), "a");
}

TEST_F(FileUtilsTest, SilentCopyDirExistingDestinationWithSeparatorReceivesTheFolderByName) {
    writeFile(dir.path() / "Out_Temp/X2D/b.x2d", "b");
    writeFile(dir.path() / "Out/x2d/a.x2d", "a");
    SilentCopyDir(dir / "Out_Temp\\X2D", dir / "Out\\");
    // Merged into the existing folder of another letter case.
    EXPECT_EQ(readFile(dir.path() / "Out/x2d/b.x2d"), "b");
    EXPECT_EQ(readFile(dir.path() / "Out/x2d/a.x2d"), "a");
    EXPECT_FALSE(fs::exists(dir.path() / "Out/b.x2d"));
}

TEST_F(FileUtilsTest, SilentCopyDirRefusesMissingSourceAndCopyIntoItself) {
    writeFile(dir.path() / "In/f.txt", "f");
    try {
        SilentCopyDir(dir / "Missing", dir / "Out");
        FAIL() << "missing source accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "Missing"));
    }
    EXPECT_THROW(SilentCopyDir(dir / "In", dir / "In/Nested"), std::runtime_error);
    EXPECT_THROW(SilentCopyDir(dir / "In", dir / "in"), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir.path() / "In/Nested"));
}

TEST_F(FileUtilsTest, GetCommonFilesListsTopLevelFilesPresentInBothIgnoringCase) {
    writeFile(dir.path() / "A/XLibData.mdb", "");
    writeFile(dir.path() / "A/Read.Me", "");
    writeFile(dir.path() / "A/only-a.txt", "");
    writeFile(dir.path() / "A/X2D/same.x2d", "");
    writeFile(dir.path() / "A/Shapes", "a file in A, a folder in B");
    writeFile(dir.path() / "B/XLIBDATA.MDB", "");
    writeFile(dir.path() / "B/read.me", "");
    writeFile(dir.path() / "B/X2D/same.x2d", "");
    writeFile(dir.path() / "B/Shapes/f", "");

    std::vector<std::string> names = {"MERGE STOP --- Some files cannot be merged..."};
    EXPECT_TRUE(Get_CommonFiles(dir / "A", dir / "b\\", names));
    EXPECT_THAT(names, ElementsAre("MERGE STOP --- Some files cannot be merged...", "Read.Me",
                                   "XLibData.mdb"));
}

TEST_F(FileUtilsTest, GetCommonFilesWithoutCommonFilesLeavesTheListAloneAndNamesAMissingFolder) {
    writeFile(dir.path() / "A/one.txt", "");
    writeFile(dir.path() / "B/two.txt", "");
    std::vector<std::string> names = {"header"};
    EXPECT_FALSE(Get_CommonFiles(dir / "A", dir / "B", names));
    EXPECT_THAT(names, ElementsAre("header"));
    try {
        Get_CommonFiles(dir / "A", dir / "Gone", names);
        FAIL() << "missing folder accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "Gone"));
    }
}

TEST_F(FileUtilsTest, DelDirDeletesNestedContentAndToleratesMissingFolder) {
    writeFile(dir.path() / "Out_Temp/X2D/a/b/c.txt", "c");
    writeFile(dir.path() / "Other/keep.txt", "k");
    DelDir(dir / "OUT_TEMP\\");
    EXPECT_FALSE(fs::exists(dir.path() / "Out_Temp"));
    EXPECT_TRUE(fs::exists(dir.path() / "Other/keep.txt"));
    EXPECT_NO_THROW(DelDir(dir / "Out_Temp"));
}

TEST_F(FileUtilsTest, DelDirRefusesFilesEmptyPathsAndTheRoot) {
    writeFile(dir.path() / "file.txt", "f");
    EXPECT_THROW(DelDir(dir / "file.txt"), std::runtime_error);
    EXPECT_TRUE(fs::exists(dir.path() / "file.txt"));
    EXPECT_THROW(DelDir(""), std::invalid_argument);
    EXPECT_THROW(DelDir("\\"), std::runtime_error);
}

TEST_F(FileUtilsTest, WriteSLWritesUtf8WithOrWithoutBomAndCrLfAfterEveryLine) {
    WriteSL(dir / "Merge.Log", {"Copy 1 in Output", "", "Prix réel"}, kEncodingUtf8WithBom);
    EXPECT_EQ(readFile(dir.path() / "Merge.Log"),
              "\xEF\xBB\xBF"
              "Copy 1 in Output\r\n\r\nPrix r\xC3\xA9"
              "el\r\n");
    WriteSL(dir / "a.txt", {"x"}, kEncodingUtf8);
    EXPECT_EQ(readFile(dir.path() / "a.txt"), "x\r\n");
    WriteSL(dir / "b.txt", {}, kEncodingUtf8WithBom);
    EXPECT_EQ(readFile(dir.path() / "b.txt"), "\xEF\xBB\xBF");
}

TEST_F(FileUtilsTest, WriteSLReplacesAnExistingFileFoundWithoutRegardToCase) {
    writeFile(dir.path() / "Merge.Log", std::string(1000, 'o'));
    fs::permissions(dir.path() / "Merge.Log", fs::perms(0640));
    WriteSL(dir / "MERGE.LOG", {"new"}, kEncodingUtf8);
    EXPECT_EQ(readFile(dir.path() / "Merge.Log"), "new\r\n");
    EXPECT_EQ(fs::status(dir.path() / "Merge.Log").permissions() & fs::perms::all, fs::perms(0640));
    // Nothing else left behind in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(FileUtilsTest, WriteSLFailuresNameTheFileAndKeepTheOldContent) {
    writeFile(dir.path() / "keep.txt", "old");
    EXPECT_THROW(WriteSL(dir / "keep.txt", {"new"}, 7), std::invalid_argument);
    EXPECT_EQ(readFile(dir.path() / "keep.txt"), "old");
    try {
        WriteSL(dir / "no/such/folder/x.txt", {"x"}, kEncodingUtf8WithBom);
        FAIL() << "write into a missing folder accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "no/such/folder/x.txt"));
    }
}

class PathsTest : public FileUtilsTest {
protected:
    void SetUp() override {
        writeFile(dir.path() / "Providers/Acme/XLibData.mdb", "db");
        writeFile(dir.path() / "Data/DataModel.Dat", "model");
        writeFile(dir.path() / "Français/Été.txt", "t");
    }
    std::string root() const { return dir.path().string(); }
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
