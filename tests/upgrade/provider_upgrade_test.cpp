// The provider upgrade on databases built here: log lines, version steps and
// script 15, too-old databases, and patches recorded by code.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "../support/suite_database.hpp"
#include "data/database_factory.hpp"
#include "host/exceptions.hpp"
#include "host/utf16.hpp"
#include "upgrade/provider_upgrade.hpp"
#include "upgrade/step_runner.hpp"

namespace orvdb::upgrade {
namespace {

using suite_test::execute;
using suite_test::hasColumn;
using suite_test::rows;

class ProviderUpgradeTest : public suite_test::SuiteTest {
protected:
    // A provider database at the given version with the tables of steps 1-5.
    ComPtr<iDatabase> provider(const std::string& version, const std::string& objectVersion,
                               bool withTables = true) {
        std::string file = createDatabase("Providers/Acme/XLibData.mdb");
        ComPtr<iDatabase> db = data::createDatabase(u"GAMMISTE", u"0", u"XLIBDATA", true, u"",
                                                    host::toUtf16(file), nullptr);
        execute(*db, {"CREATE TABLE Version (Version SINGLE, ObjectVersion SINGLE)",
                      "INSERT INTO Version VALUES (" + version + ", " + objectVersion + ")"});
        if (withTables) {
            execute(*db, {"CREATE TABLE variableobjtree_Textlist_Text (ID LONG, Name TEXT(20))",
                          "INSERT INTO variableobjtree_Textlist_Text VALUES (7, 'a')",
                          "INSERT INTO variableobjtree_Textlist_Text VALUES (9, 'b')",
                          "CREATE TABLE variableobjtree_Valuelist_Value (ID LONG, [Position] LONG)",
                          "INSERT INTO variableobjtree_Valuelist_Value VALUES (3, 30)",
                          "CREATE TABLE GroupArticle (ID LONG PRIMARY KEY)",
                          "INSERT INTO GroupArticle VALUES (1)",
                          "CREATE TABLE Article (ID LONG, RefGroup LONG)",
                          "INSERT INTO Article VALUES (1, 1)", "INSERT INTO Article VALUES (2, 99)",
                          "CREATE TABLE Provider (ID LONG, Name TEXT(50))"});
        }
        return db;
    }

    std::string storedVersion(iDatabase& db) {
        return rows(db, "SELECT Version FROM Version", {"Version"}).at(0);
    }
};

TEST_F(ProviderUpgradeTest, RunsTheFirstStepsAndLogsThem) {
    ComPtr<iDatabase> db = provider("0.35835", "0.8");
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme");

    EXPECT_EQ(log, (UpgradeLog{"Providername: Acme", "Current Version: 0.35835",
                               "5 mise(s) à jour efféctuée(s) avec succès", ""}));
    EXPECT_EQ(rows(*db, "SELECT ID, [Position] FROM variableobjtree_Textlist_Text ORDER BY ID",
                   {"ID", "Position"}),
              (std::vector<std::string>{"7|7", "9|9"}));
    // Step 1 numbered the value list too (its ALTER failed: the column existed).
    EXPECT_EQ(rows(*db, "SELECT [Position] FROM variableobjtree_Valuelist_Value", {"Position"}),
              std::vector<std::string>{"3"});
    EXPECT_EQ(rows(*db, "SELECT ID, RefGroup FROM Article ORDER BY ID", {"ID", "RefGroup"}),
              (std::vector<std::string>{"1|1", "2|"}));
    EXPECT_TRUE(hasColumn(*db, "Provider", "LogoFilename"));
    EXPECT_EQ(storedVersion(*db), "0.35841");
}

TEST_F(ProviderUpgradeTest, AStepEqualToTheStoredVersionDoesNotRun) {
    ComPtr<iDatabase> db = provider("0.3584", "0.8");
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme");
    EXPECT_FALSE(hasColumn(*db, "Provider", "LogoFilename"));  // step 0.35840
    // Script 15 ran: the text list had no [Position] column.
    EXPECT_TRUE(hasColumn(*db, "variableobjtree_Textlist_Text", "Position"));
    EXPECT_EQ(log.at(2), "1 mise(s) à jour efféctuée(s) avec succès");
}

TEST_F(ProviderUpgradeTest, StepsWhoseStatementsAllFailStillRecordTheirVersion) {
    ComPtr<iDatabase> db = provider("0.35839", "0.8", /*withTables=*/false);
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme");
    EXPECT_EQ(storedVersion(*db), "0.35841");
}

TEST_F(ProviderUpgradeTest, TooOldDatabasesAreRefusedWithTheirOwnException) {
    {
        ComPtr<iDatabase> db = provider("0.35834", "0.7");
        UpgradeLog log;
        EXPECT_THROW(runProviderUpgrade(*db, log, "Acme"), host::EORV_DATABASEUPDATE);
        EXPECT_EQ(storedVersion(*db), "0.35834");
    }
    TearDown();
    SetUp();
    ComPtr<iDatabase> db = provider("0.35834", "0.8");
    UpgradeLog log;
    try {
        runProviderUpgrade(*db, log, "Acme");
        FAIL() << "a database at 0.35834 was upgraded";
    } catch (const DatabaseTooOld& e) {
        EXPECT_STREQ(e.what(), "Your database Acme version (0.36) is too old");
    }
    EXPECT_FALSE(hasColumn(*db, "Provider", "LogoFilename"));
}

// A catalogue declared in the test: one step, one listed patch, one patch
// that does its own work.
Statements addColour(UpgradeSession&) {
    return {"ALTER TABLE Provider ADD COLUMN Colour TEXT(10)"};
}
Statements addLogo(UpgradeSession&) {
    return {"ALTER TABLE Provider ADD COLUMN Logo TEXT(10)"};
}
Statements addNotes(UpgradeSession&) {
    return {"ALTER TABLE Provider ADD COLUMN Notes TEXT(10)"};
}
void customPatch(UpgradeSession& session, const AppliedCodes& applied) {
    if (applied.contains("CUSTOM")) {
        return;
    }
    session.open("ALTER TABLE Provider ADD COLUMN Custom TEXT(10)");
    session.open("INSERT INTO ZV_VersionCode (zvCode) VALUES ('CUSTOM')");
}
constexpr std::array kTestSteps = {statements(0.36051f, addColour)};
constexpr std::array kTestPatches = {NamedPatch{"LOGOFILE", addLogo, nullptr},
                                     NamedPatch{"NOTES", addNotes, nullptr},
                                     NamedPatch{"CUSTOM", nullptr, customPatch}};
const UpgradeCatalogue kTestCatalogue{"test", kTestSteps, kTestPatches, {}, nullptr};

TEST_F(ProviderUpgradeTest, PatchesRecordedInAnyLetterCaseAreNotRunAgain) {
    ComPtr<iDatabase> db = provider("0.3605", "0.8");
    execute(*db,
            {"CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))",
             "INSERT INTO ZV_VersionCode (zvCode) VALUES ('logofile')"});
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme", kTestCatalogue);

    EXPECT_TRUE(hasColumn(*db, "Provider", "Colour"));
    EXPECT_FALSE(hasColumn(*db, "Provider", "Logo"));
    EXPECT_TRUE(hasColumn(*db, "Provider", "Notes"));
    EXPECT_TRUE(hasColumn(*db, "Provider", "Custom"));
    EXPECT_EQ(rows(*db, "SELECT zvCode FROM ZV_VersionCode ORDER BY zvID", {"zvCode"}),
              (std::vector<std::string>{"logofile", "NOTES", "CUSTOM"}));
    EXPECT_EQ(storedVersion(*db), "0.36051");
    EXPECT_EQ(log.at(2), "3 mise(s) à jour efféctuée(s) avec succès");

    // A second run finds everything applied.
    UpgradeLog again;
    runProviderUpgrade(*db, again, "Acme", kTestCatalogue);
    EXPECT_EQ(again.at(1), "Current Version: 0.36051");
    EXPECT_EQ(again.at(2), "0 mise(s) à jour efféctuée(s) avec succès");
}

TEST_F(ProviderUpgradeTest, BelowTheFirstVersionWithCodesEveryPatchRuns) {
    ComPtr<iDatabase> db = provider("0.36049", "0.8");
    execute(*db,
            {"CREATE TABLE ZV_VersionCode (zvID AUTOINCREMENT PRIMARY KEY, zvCode VARCHAR(20))",
             "INSERT INTO ZV_VersionCode (zvCode) VALUES ('NOTES')"});
    UpgradeLog log;
    runProviderUpgrade(*db, log, "Acme", kTestCatalogue);
    // The table is not read below 0.3605, so NOTES runs again.
    EXPECT_TRUE(hasColumn(*db, "Provider", "Notes"));
    EXPECT_EQ(
        rows(*db, "SELECT zvCode FROM ZV_VersionCode WHERE zvCode='NOTES'", {"zvCode"}).size(), 2u);
}

}  // namespace
}  // namespace orvdb::upgrade
