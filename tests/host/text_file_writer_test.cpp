#include "host/text_file_writer.hpp"

#include "support/temp_dir.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvdb::host {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;
using ::testing::HasSubstr;

TEST(WriteSLTest, Utf8WithBomAndCrLfAfterEveryLine) {
    TempDir dir;
    WriteSL(dir / "Merge.Log", {"Copy 1 in Output", "", "Prix réel"}, kEncodingUtf8WithBom);
    EXPECT_EQ(readFile(dir.path() / "Merge.Log"),
              "\xEF\xBB\xBF"
              "Copy 1 in Output\r\n\r\nPrix r\xC3\xA9"
              "el\r\n");
}

TEST(WriteSLTest, PlainUtf8AndEmptyList) {
    TempDir dir;
    WriteSL(dir / "a.txt", {"x"}, kEncodingUtf8);
    EXPECT_EQ(readFile(dir.path() / "a.txt"), "x\r\n");
    WriteSL(dir / "b.txt", {}, kEncodingUtf8WithBom);
    EXPECT_EQ(readFile(dir.path() / "b.txt"), "\xEF\xBB\xBF");
}

TEST(WriteSLTest, ReplacesAnExistingFileFoundWithoutRegardToCase) {
    TempDir dir;
    writeFile(dir.path() / "Merge.Log", std::string(1000, 'o'));
    fs::permissions(dir.path() / "Merge.Log", fs::perms(0640));
    WriteSL(dir / "MERGE.LOG", {"new"}, kEncodingUtf8);
    EXPECT_EQ(readFile(dir.path() / "Merge.Log"), "new\r\n");
    EXPECT_EQ(fs::status(dir.path() / "Merge.Log").permissions() & fs::perms::all, fs::perms(0640));
    // Nothing else left behind in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(WriteSLTest, FailuresNameTheFileAndKeepTheOldContent) {
    TempDir dir;
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

}  // namespace
}  // namespace orvdb::host
