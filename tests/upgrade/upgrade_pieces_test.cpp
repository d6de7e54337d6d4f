// Pieces of the manager and workshop upgrades that need no whole database
// (the whole upgrades run in upgrade_manager/ and upgrade_workshop/).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/md5_hex.hpp"
#include "../support/stand_in_database.hpp"
#include "host/boundary_strings.hpp"
#include "host/exceptions.hpp"
#include "host/interfaced_object.hpp"
#include "upgrade/manager_catalogue.hpp"
#include "upgrade/manager_driver.hpp"
#include "upgrade/manager_final_patches.hpp"
#include "upgrade/type_words.hpp"
#include "upgrade/user_password.hpp"
#include "upgrade/workshop_upgrade.hpp"

namespace orvdb::upgrade {
namespace {

using Lines = std::vector<std::string>;

Lines upgradeStringsWith(const std::string& entry23) {
    Lines strings(24, "unused");
    strings[23] = entry23;
    return strings;
}

TEST(ManagerAdministratorTest, EntryTwentyThreeWithoutItsMarkers) {
    const std::pair<const char*, const char*> cases[] = {
        {"Administrateur(5035)", "Administrateur"},
        {"Admin(5035)istra(5035)teur", "Administrateur"},
        {"Chef (5035)", "Chef "},
        // Only the exact marker goes, once scanned: what the removal joins stays.
        {"((5035)5035))", "(5035))"},
        {"Admin (5035 )", "Admin (5035 )"},
        {"", ""},
    };
    for (const auto& [entry, name] : cases) {
        EXPECT_EQ(administratorName(upgradeStringsWith(entry)), name) << entry;
    }
}

TEST(UserPasswordTest, HashIsTheDigestOfTheCodePageBytesAndItsFirstDigitAgain) {
    struct Case {
        const char* password;
        const char* windows1252;  // the password's bytes on a Western system
    };
    const Case cases[] = {{"", ""}, {"secret", "secret"}, {"Clé€", "Cl\xE9\x80"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        const std::string digest = test_support::md5Hex(std::string(c.windows1252) + "$QKM");
        const std::string hash = HashUserPassword(c.password);
        ASSERT_EQ(hash.size(), 33u);
        EXPECT_EQ(hash, digest + digest.front());
    }
}

// The final patches on a stand-in that answers with another engine's words
// and records every statement.
ComPtr<test_support::StandInDatabase> managerStandIn() {
    ComPtr<test_support::StandInDatabase> db(new test_support::StandInDatabase);
    db->state.typeWord = [](int32_t code, int32_t size) -> std::string {
        return code == 0   ? "INTEGER"
               : code == 2 ? "CHAR(" + std::to_string(size) + ")"
               : code == 8 ? "COUNTER"
                           : "?";
    };
    db->state.alterColumn = "ALTER COLUMN";
    return db;
}

const char* const kWiden = "ALTER TABLE DOSSIERDEVISTREENODES ALTER COLUMN NAME  CHAR(255)";
const char* const kWidenModify = "ALTER TABLE DOSSIERDEVISTREENODES  MODIFY  NAME  CHAR(255)";
const char* const kBarcodes =
    "CREATE TABLE ARTUNICID ( ID COUNTER PRIMARY KEY  , SERVERID INTEGER , PROJECTID INTEGER , "
    "STRUCTID INTEGER , SUBSTRUCTID INTEGER , IDINPRJ INTEGER , IDINSTRUCT INTEGER)";
const char* const kServers = "CREATE TABLE SERVERSID ( ID COUNTER PRIMARY KEY  , SRVGUID CHAR(30))";
const char* const kExternalId = "ALTER TABLE DOSSIERS ADD COLUMN EXTERNALID CHAR(25)";

struct PatchCase {
    const char* what;
    std::set<std::string> raising;
    std::set<std::string> tables;
    bool hasExternalId;
    Lines firstStatements;  // then the ten Polish labels
};

TEST(ManagerFinalPatchesTest, StatementsFollowTheDatabaseAndWhatItHolds) {
    const PatchCase cases[] = {
        {"a new database", {}, {}, false, {kWiden, kBarcodes, kServers, kExternalId}},
        {"an engine that raises on ALTER COLUMN",
         {kWiden},
         {},
         false,
         {kWiden, kWidenModify, kBarcodes, kServers, kExternalId}},
        {"tables and column present", {}, {"ARTUNICID", "SERVERSID"}, true, {kWiden}},
    };
    for (const PatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        ComPtr<test_support::StandInDatabase> db = managerStandIn();
        db->state.raising = c.raising;
        db->state.tables = c.tables;
        if (c.hasExternalId) {
            db->state.fields = {"DOSSIERS.EXTERNALID"};
        }
        UpgradeSession session(*db);
        runManagerFinalPatches(session);

        const Lines run = db->state.statements();
        ASSERT_EQ(run.size(), c.firstStatements.size() + 10);
        EXPECT_EQ(Lines(run.begin(), run.begin() + c.firstStatements.size()), c.firstStatements);
        EXPECT_EQ(run.back(),
                  "UPDATE zv_Language SET Polski = 'Cena ustalona odpadów' "
                  "WHERE Name='Price fixed waste' ");
        EXPECT_EQ(db->state.depth, 0);
    }
}

TEST(ManagerFinalPatchesTest, AFailingModifyEndsTheRunWithItsLevelPopped) {
    ComPtr<test_support::StandInDatabase> db = managerStandIn();
    db->state.raising = {kWiden, kWidenModify};
    UpgradeSession session(*db);
    EXPECT_THROW(runManagerFinalPatches(session), std::exception);
    EXPECT_EQ(db->state.statements(), (Lines{kWiden, kWidenModify}));
    EXPECT_EQ(db->state.depth, 0);
}

TEST(ManagerCatalogueTest, BlocksSitAtTheirVersions) {
    const std::pair<std::string_view, int> blocks[] = {
        {"1.68", 1}, {"1.77", 2}, {"1.79", 3},  {"1.94", 6},
        {"2.0", 8},  {"2.1", 9},  {"2.11", 10}, {"2.12", 11},
    };
    std::vector<std::pair<std::string_view, int>> found;
    for (const UpgradeRow& row : managerSteps()) {
        if (row.kind == RowKind::Script && row.number != 0) {
            found.emplace_back(row.key, row.number);
        }
    }
    EXPECT_EQ(found, std::vector(std::begin(blocks), std::end(blocks)));
    EXPECT_TRUE(managerCatalogue().patches.empty());
}

// ---- type words in the workshop statements ----

struct FillCase {
    const char* format;
    const char* filled;  // with the words of wordFor below
};

std::string wordFor(const TypeMarker& marker) {
    if (marker.kind == TypeMarker::Kind::AlterColumn) {
        return "KEYWORD";
    }
    return "T" + std::to_string(marker.code) + "_" + std::to_string(marker.size);
}

const FillCase kFillCases[] = {
    {"ALTER TABLE A ADD B {LONG}", "ALTER TABLE A ADD B T0_0"},
    {"X {FLOAT}, {VARCHAR(255)} {BYTE} {AUTOINCREMENT} {LONGBLOB} {MEMO}",
     "X T1_0, T2_255 T6_1 T8_0 T9_0 T10_0"},
    {"ALTER TABLE t {ALTER COLUMN} c {VARCHAR(25)}", "ALTER TABLE t KEYWORD c T2_25"},
    {"  spaces  {LONG}  kept ", "  spaces  T0_0  kept "},
    {"no markers", "no markers"},
};

TEST(UpgradeTypeWords, MarkersAreFilledAndTheRestKept) {
    for (const FillCase& fill : kFillCases) {
        EXPECT_EQ(fillTypeWords(fill.format, wordFor), fill.filled) << fill.format;
        EXPECT_TRUE(validTypeMarkers(fill.format)) << fill.format;
    }
    for (const char* bad : {"A {INTEGER}", "A {VARCHAR()}", "A {VARCHAR(x)}", "A {LONG", "A }"}) {
        EXPECT_FALSE(validTypeMarkers(bad)) << bad;
    }
    EXPECT_THROW(fillTypeWords("CREATE TABLE A (B {TEXT})", wordFor), std::invalid_argument);
}

// The stand-in names its types with wordFor and ALTER COLUMN as MODIFY.
ComPtr<test_support::StandInDatabase> workshopStandIn() {
    ComPtr<test_support::StandInDatabase> db(new test_support::StandInDatabase);
    db->state.typeWord = [](int32_t code, int32_t size) {
        return wordFor({TypeMarker::Kind::TypeWord, code, size});
    };
    db->state.alterColumn = "MODIFY";
    db->state.commandsOnly = true;
    return db;
}

// What the steps above 1.7 and the final patches run: the four tables of
// 1.71 in their exact formats with this database's words, the one-column
// statements of 1.72, and the final patches of a database that has none of
// their objects but GLOBAL_RULE (its keyword is the database's too).
TEST(WorkshopTypeWords, TheFormatsGetTheDatabasesWords) {
    ComPtr<test_support::StandInDatabase> db = workshopStandIn();
    db->state.version = 1.7f;
    db->state.fields = {"fillingworkstationfillings.GLOBAL_RULE"};
    UpgradeLog log;
    runWorkshopUpgrade(*db, log);
    const Lines run = db->state.statements();
    ASSERT_GE(run.size(), 6u);
    EXPECT_EQ(Lines(run.begin(), run.begin() + 6),
              (Lines{"CREATE TABLE ProdMapWorkStation (Id T8_0,  ProdMapId T0_0, WorkStationId "
                     "T0_0, ItemGUID T2_50,  PosX T1_0, PosY T1_0, DimX T1_0, DimY T1_0, "
                     "ItemCaption T2_50) ",
                     "CREATE TABLE ProdMapEntity (Id T8_0,  ProdMapId T0_0, ItemGUID T2_50,  "
                     "PosX T1_0, PosY T1_0, DimX T1_0, DimY T1_0, ItemCaption T2_50) ",
                     "CREATE TABLE ProdMapLink (Id T8_0,  ProdMapId T0_0, ProdLineId T0_0, "
                     "ItemGUID T2_50,  PosX T1_0, PosY T1_0, DimX T1_0, DimY T1_0, ItemCaption "
                     "T2_50,  WSGUIDIN T2_50, WSGUIDOUT T2_50, GUIDINTYPE  T0_0, GUIDOUTTYPE "
                     "T0_0,  WSINPtID T0_0, WSOUTPtID T0_0, PtAligned T0_0) ",
                     "CREATE TABLE ProdMapLinkPt (Id T8_0,  ProdMapLinkId T0_0, PtInd T0_0, "
                     "PosPtX T1_0, PosPtY T1_0, PosPtStyle T0_0) ",
                     "ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID T0_0",
                     "UPDATE Version SET Version=1.71000003814697"}));
    // 1.72: 22 statements, one column each, then its version.
    auto step172 = std::find(run.begin(), run.end(), "UPDATE Version SET Version=1.71000003814697");
    ASSERT_GE(run.end() - step172, 24);
    EXPECT_EQ(*(step172 + 1),
              "ALTER TABLE ArticlesForAccessoriesWorkStation ADD COLUMN COMPTYPE_RULE T2_255");
    EXPECT_EQ(*(step172 + 22), "ALTER TABLE BatchArticles ADD COLUMN SUBSTRUCTID T0_0");
    EXPECT_EQ(*(step172 + 23), "UPDATE Version SET Version=1.72000002861023");
    EXPECT_EQ(Lines(run.end() - 5, run.end()),
              (Lines{"UPDATE Version SET Version=1.80999994277954",
                     "CREATE TABLE WORKSHOP ( ID T8_0 PRIMARY KEY  , ID_GRP T0_0 , ID_LNC T0_0 , "
                     "ID_MAP T0_0 , ID_LINE T0_0 , ID_WORKSTATION T0_0 , CONSTRUCTION T2_100 , "
                     "PROJECT T2_100 , COMMENTS T10_0 , VALIDATION T6_1)",
                     "ALTER TABLE BatchArticles ADD COLUMN EXTERNALPROJECTID VARCHAR(25)",
                     "ALTER TABLE BatchArticles ADD COLUMN EXTERNALCUSTOMERID VARCHAR(25)",
                     "ALTER TABLE fillingworkstationfillings MODIFY GLOBAL_RULE T2_25"}));
    EXPECT_EQ(log, (UpgradeLog{"Current Version: 1.70000",
                               "11 mise(s) à jour efféctuée(s) avec succès"}));
    EXPECT_EQ(db->state.depth, 0) << "the query levels are not balanced";
}

TEST(WorkshopTypeWords, ADatabaseWithoutVersionRowIsRefusedBeforeAnyStatement) {
    ComPtr<test_support::StandInDatabase> db = workshopStandIn();
    db->state.hasVersion = false;
    UpgradeLog log;
    try {
        runWorkshopUpgrade(*db, log);
        FAIL() << "the upgrade ran without a version";
    } catch (const host::EORV_DATABASEUPDATE& e) {
        EXPECT_STREQ(e.what(),
                     "The workshop database XMANDATA has no version to upgrade from: SELECT "
                     "Version FROM Version gave no row");
    }
    EXPECT_EQ(db->state.statements(), Lines{});
    EXPECT_EQ(log, UpgradeLog{});
    EXPECT_EQ(db->state.depth, 0);
}

}  // namespace
}  // namespace orvdb::upgrade
