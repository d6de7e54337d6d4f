#include "host/file_utils.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvdb::host {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(SilentCopyDirTest, CopiesNestedFoldersAndOverwritesExistingFiles) {
    TempDir dir;
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
}

TEST(SilentCopyDirTest, CreatesMissingDestinationWithParents) {
    TempDir dir;
    writeFile(dir.path() / "In/sub/f.txt", "f");
    SilentCopyDir(dir / "In", dir / "New\\Deeper\\Copy");
    EXPECT_EQ(readFile(dir.path() / "New/Deeper/Copy/sub/f.txt"), "f");
}

TEST(SilentCopyDirTest, ExistingDestinationWithSeparatorReceivesTheFolderByName) {
    TempDir dir;
    writeFile(dir.path() / "Out_Temp/X2D/b.x2d", "b");
    writeFile(dir.path() / "Out/x2d/a.x2d", "a");
    SilentCopyDir(dir / "Out_Temp\\X2D", dir / "Out\\");
    // Merged into the existing folder of another letter case.
    EXPECT_EQ(readFile(dir.path() / "Out/x2d/b.x2d"), "b");
    EXPECT_EQ(readFile(dir.path() / "Out/x2d/a.x2d"), "a");
    EXPECT_FALSE(fs::exists(dir.path() / "Out/b.x2d"));
}

TEST(SilentCopyDirTest, RefusesMissingSourceAndCopyIntoItself) {
    TempDir dir;
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

TEST(GetCommonFilesTest, ListsTopLevelFilesPresentInBothIgnoringCase) {
    TempDir dir;
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

TEST(GetCommonFilesTest, NoCommonFilesLeavesTheListAlone) {
    TempDir dir;
    writeFile(dir.path() / "A/one.txt", "");
    writeFile(dir.path() / "B/two.txt", "");
    std::vector<std::string> names = {"header"};
    EXPECT_FALSE(Get_CommonFiles(dir / "A", dir / "B", names));
    EXPECT_THAT(names, ElementsAre("header"));
}

TEST(GetCommonFilesTest, MissingFolderIsReportedWithItsPath) {
    TempDir dir;
    writeFile(dir.path() / "A/one.txt", "");
    std::vector<std::string> names;
    try {
        Get_CommonFiles(dir / "A", dir / "Gone", names);
        FAIL() << "missing folder accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir / "Gone"));
    }
}

TEST(DelDirTest, DeletesNestedContentAndToleratesMissingFolder) {
    TempDir dir;
    writeFile(dir.path() / "Out_Temp/X2D/a/b/c.txt", "c");
    writeFile(dir.path() / "Other/keep.txt", "k");
    DelDir(dir / "OUT_TEMP\\");
    EXPECT_FALSE(fs::exists(dir.path() / "Out_Temp"));
    EXPECT_TRUE(fs::exists(dir.path() / "Other/keep.txt"));
    EXPECT_NO_THROW(DelDir(dir / "Out_Temp"));
}

TEST(DelDirTest, RefusesFilesEmptyPathsAndTheRoot) {
    TempDir dir;
    writeFile(dir.path() / "file.txt", "f");
    EXPECT_THROW(DelDir(dir / "file.txt"), std::runtime_error);
    EXPECT_TRUE(fs::exists(dir.path() / "file.txt"));
    EXPECT_THROW(DelDir(""), std::invalid_argument);
    EXPECT_THROW(DelDir("\\"), std::runtime_error);
}

}  // namespace
}  // namespace orvdb::host
