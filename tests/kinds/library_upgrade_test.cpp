// The library's own upgrade: [Position] moves to ZV_Position in every user
// table that has it, once, and the version becomes 0.5002.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/suite_database.hpp"
#include "kinds/library_database.hpp"

namespace orvdb::kinds {
namespace {

using suite_test::execute;
using suite_test::hasColumn;
using suite_test::rows;

class LibraryUpgradeTest : public suite_test::SuiteTest {
protected:
    ComPtr<iDatabase> library(const char* version) {
        createDatabase("XLib.Mdb");
        ComPtr<iDatabase> db = TXLIB_Database::CreateDatabase(nullptr);
        EXPECT_TRUE(db);
        execute(*db, {"CREATE TABLE Version (Version SINGLE)",
                      "CREATE TABLE Opening (ID LONG, [Position] LONG)",
                      "INSERT INTO Opening VALUES (10, 1)", "INSERT INTO Opening VALUES (11, 2)",
                      "INSERT INTO Opening VALUES (12, 3)",
                      "CREATE TABLE [Frame Kinds] (ID LONG, [Position] LONG)",
                      "INSERT INTO [Frame Kinds] VALUES (1, 5)",
                      "CREATE TABLE EmptyList (ID LONG, [Position] LONG)",
                      "CREATE TABLE Colours (ID LONG, Name TEXT(20))",
                      "INSERT INTO Colours VALUES (1, 'Red')"});
        if (version) {
            execute(*db, {std::string("INSERT INTO Version VALUES (") + version + ")"});
        }
        return db;
    }
};

TEST_F(LibraryUpgradeTest, MovesPositionsAndSetsTheVersion) {
    ComPtr<iDatabase> db = library("0.5");
    ASSERT_EQ(db->Update(nullptr, nullptr), ORV_S_OK);

    EXPECT_EQ(rows(*db, "SELECT ID, ZV_Position FROM Opening ORDER BY ID", {"ID", "ZV_Position"}),
              (std::vector<std::string>{"10|1", "11|2", "12|3"}));
    EXPECT_FALSE(hasColumn(*db, "Opening", "Position"));
    // A table with the column but no rows is migrated too: its probe ran.
    EXPECT_TRUE(hasColumn(*db, "EmptyList", "ZV_Position"));
    EXPECT_FALSE(hasColumn(*db, "EmptyList", "Position"));
    // A name that needs brackets fails its probe and keeps its column.
    EXPECT_TRUE(hasColumn(*db, "Frame Kinds", "Position"));
    EXPECT_FALSE(hasColumn(*db, "Frame Kinds", "ZV_Position"));
    EXPECT_FALSE(hasColumn(*db, "Colours", "ZV_Position"));
    EXPECT_EQ(rows(*db, "SELECT Version FROM Version", {"Version"}),
              std::vector<std::string>{"0.5002"});
}

TEST_F(LibraryUpgradeTest, CurrentOrVersionlessLibrariesAreLeftAlone) {
    for (const char* version : {"0.5002", "0.6", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(version ? version : "no version row");
        ComPtr<iDatabase> db = library(version);
        ASSERT_EQ(db->Update(nullptr, nullptr), ORV_S_OK);
        EXPECT_TRUE(hasColumn(*db, "Opening", "Position"));
        EXPECT_FALSE(hasColumn(*db, "Opening", "ZV_Position"));
        db = {};
        TearDown();
        SetUp();
    }
}

TEST_F(LibraryUpgradeTest, SecondUpdateFindsNothingToDo) {
    ComPtr<iDatabase> db = library("0.4");
    ASSERT_EQ(db->Update(nullptr, nullptr), ORV_S_OK);
    execute(*db, {"ALTER TABLE Colours ADD COLUMN [Position] LONG"});
    ASSERT_EQ(db->Update(nullptr, nullptr), ORV_S_OK);
    EXPECT_TRUE(hasColumn(*db, "Colours", "Position"));
}

}  // namespace
}  // namespace orvdb::kinds
