// Pieces of the manager upgrade that need no whole database: the
// administrator's name, the password hash against a digest taken here with
// nettle, the final patches on a stand-in database (the engine's words, the
// MODIFY fallback, the checks before creating), and where the blocks sit.
// The whole upgrade runs in upgrade_manager/manager_catalogue_test.cpp.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/md5_hex.hpp"
#include "../support/stand_in_database.hpp"
#include "host/boundary_strings.hpp"
#include "upgrade/manager_catalogue.hpp"
#include "upgrade/manager_driver.hpp"
#include "upgrade/manager_final_patches.hpp"
#include "upgrade/user_password.hpp"

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

TEST(ManagerAdministratorTest, FewerThanTwentyFourStringsAreRefused) {
    for (size_t count : {0u, 23u}) {
        try {
            administratorName(Lines(count, "x"));
            ADD_FAILURE() << count << " strings were accepted";
        } catch (const std::out_of_range& e) {
            EXPECT_NE(std::string(e.what()).find("entry 23"), std::string::npos) << e.what();
        }
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

// ---- the final patches on a stand-in database ----

// The final patches on a stand-in that answers with another engine's words
// and records every statement.
ComPtr<test_support::StandInDatabase> standIn() {
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
        ComPtr<test_support::StandInDatabase> db = standIn();
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
    ComPtr<test_support::StandInDatabase> db = standIn();
    db->state.raising = {kWiden, kWidenModify};
    UpgradeSession session(*db);
    EXPECT_THROW(runManagerFinalPatches(session), std::exception);
    EXPECT_EQ(db->state.statements(), (Lines{kWiden, kWidenModify}));
    EXPECT_EQ(db->state.depth, 0);
}

// ---- the catalogue ----

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
    EXPECT_EQ(managerCatalogue().current(), "2.18");
    EXPECT_TRUE(managerCatalogue().patches.empty());
}

}  // namespace
}  // namespace orvdb::upgrade
