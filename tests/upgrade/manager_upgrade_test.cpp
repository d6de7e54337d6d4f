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
#include "../support/unimplemented_database.hpp"
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

// Answers what the final patches ask with another engine's words, records
// every statement and raises on those it is told to.
class PatchDatabase;

class PatchQuery final : public test_support::UnimplementedQuery {
public:
    explicit PatchQuery(PatchDatabase& database) : database_(database) {}
    OrvHResult Set_TypeRequete(int32_t) override { return ORV_S_OK; }
    OrvHResult OpenSQL(OrvBstr sql, OrvWordBool* found) override;

private:
    PatchDatabase& database_;
};

class PatchDatabase final : public test_support::UnimplementedDatabase {
public:
    Lines statements;
    std::set<std::string> raising;  // statements whose execution raises
    std::set<std::string> tables;
    bool hasExternalId = false;
    int levels = 0;

    OrvHResult PushQuery() override {
        ++levels;
        return ORV_S_OK;
    }
    OrvHResult PopQuery() override {
        --levels;
        return ORV_S_OK;
    }
    OrvHResult Get_ActiveQuery(iQueryDatabase** query) override {
        *query = ComPtr<iQueryDatabase>(query_).detach();
        return ORV_S_OK;
    }
    OrvHResult TableExists(OrvBstr table, OrvWordBool* exists) override {
        *exists = tables.count(host::toUtf8(host::bstrView(table))) ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult FieldExists(OrvBstr, OrvBstr, OrvWordBool* exists) override {
        *exists = hasExternalId ? ORV_WTRUE : ORV_WFALSE;
        return ORV_S_OK;
    }
    OrvHResult Get_FieldTypeText(int32_t code, int32_t size, OrvBstr* text) override {
        const std::string word = code == 0   ? "INTEGER"
                                 : code == 2 ? "CHAR(" + std::to_string(size) + ")"
                                 : code == 8 ? "COUNTER"
                                             : "?";
        *text = host::Bstr::fromUtf8(word).release();
        return ORV_S_OK;
    }
    OrvHResult Get_AlterColumnText(int32_t, OrvBstr* text) override {
        *text = host::Bstr::fromUtf8("ALTER COLUMN").release();
        return ORV_S_OK;
    }

private:
    ComPtr<iQueryDatabase> query_{new PatchQuery(*this)};
};

OrvHResult PatchQuery::OpenSQL(OrvBstr sql, OrvWordBool* found) {
    const std::string text = host::toUtf8(host::bstrView(sql));
    database_.statements.push_back(text);
    *found = ORV_WFALSE;
    return database_.raising.count(text) ? ORV_E_FAIL : ORV_S_OK;
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
        ComPtr<PatchDatabase> db(new PatchDatabase);
        db->raising = c.raising;
        db->tables = c.tables;
        db->hasExternalId = c.hasExternalId;
        UpgradeSession session(*db);
        runManagerFinalPatches(session);

        ASSERT_EQ(db->statements.size(), c.firstStatements.size() + 10);
        EXPECT_EQ(Lines(db->statements.begin(), db->statements.begin() + c.firstStatements.size()),
                  c.firstStatements);
        EXPECT_EQ(db->statements.back(),
                  "UPDATE zv_Language SET Polski = 'Cena ustalona odpadów' "
                  "WHERE Name='Price fixed waste' ");
        EXPECT_EQ(db->levels, 0);
    }
}

TEST(ManagerFinalPatchesTest, AFailingModifyEndsTheRunWithItsLevelPopped) {
    ComPtr<PatchDatabase> db(new PatchDatabase);
    db->raising = {kWiden, kWidenModify};
    UpgradeSession session(*db);
    EXPECT_THROW(runManagerFinalPatches(session), std::exception);
    EXPECT_EQ(db->statements, (Lines{kWiden, kWidenModify}));
    EXPECT_EQ(db->levels, 0);
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
