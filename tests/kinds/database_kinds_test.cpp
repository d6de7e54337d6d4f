// Database kinds: where each finds its file, the provider fallback, the
// messages for missing and read-only files, versions and SQL catalogues.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/suite_database.hpp"
#include "host/boundary_strings.hpp"
#include "host/folder_server_info.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"
#include "kinds/kind_sql.hpp"
#include "kinds/library_database.hpp"
#include "kinds/manager_database.hpp"
#include "kinds/provider_database.hpp"

namespace orvdb::kinds {
namespace {

using suite_test::execute;

std::string text(iDatabase& db, OrvHResult (iDatabase::*get)(OrvBstr*)) {
    host::Bstr value;
    EXPECT_EQ((db.*get)(value.put()), ORV_S_OK);
    return value.utf8();
}

std::string providerNameOf(iDatabase& db) {
    ComPtr<iProviderName> named = ComPtr<iDatabase>(&db).as<iProviderName>();
    if (!named) {
        return "<no iProviderName>";
    }
    host::Bstr value;
    EXPECT_EQ(named->Get_ProviderName(value.put()), ORV_S_OK);
    return value.utf8();
}

std::string sqlOf(iDatabase& db, int32_t index) {
    host::Bstr value;
    EXPECT_EQ(db.Get_SQL(index, value.put()), ORV_S_OK);
    return value.utf8();
}

std::string pathOf(iDatabase& db) {
    return host::toUtf8(dynamic_cast<data::torvc_Database&>(db).path());
}

class KindsTest : public suite_test::SuiteTest {};

TEST_F(KindsTest, ProviderFallbackOpensAnotherProviderFolderAndRecordsIt) {
    std::filesystem::create_directories(root + "Providers/Alpha");  // no data file
    std::filesystem::create_directories(root + "Providers/Empty");  // never offered
    std::string beta = createDatabase("Providers/Beta/xlibdata.mdb");

    ComPtr<iDatabase> db = TXLIBProvider_Database::CreateDatabase(u"Alpha", nullptr);
    ASSERT_TRUE(db);
    EXPECT_EQ(host::resolvePath(pathOf(*db)), beta);
    EXPECT_EQ(providerNameOf(*db), "Beta");
    EXPECT_EQ(host::registry()->get(4), "Beta");
    EXPECT_EQ(text(*db, &iDatabase::Get_dbname), "GAMMISTE");
    EXPECT_TRUE(record->messages.empty());

    EXPECT_EQ(ListProviderFolders(), std::vector<std::string>{"Beta"});
}

TEST_F(KindsTest, ProviderWithoutAnyDataFileGivesNoDatabaseAndAMessage) {
    std::filesystem::create_directories(root + "Providers/Alpha");
    std::filesystem::create_directories(root + "Providers/Empty");
    ComPtr<iDatabase> db = TXLIBProvider_Database::CreateDatabase(u"Alpha", nullptr);
    EXPECT_FALSE(db);
    ASSERT_EQ(record->messages.size(), 1u);
    EXPECT_EQ(record->messages[0].rfind("CANNOT FIND " + root + "Providers/", 0), 0u)
        << record->messages[0];
    EXPECT_TRUE(record->handedExceptions.empty());
    EXPECT_EQ(host::registry()->get(4), "");
}

TEST_F(KindsTest, ProviderFamilyKindsShareTheFileAndDifferByName) {
    std::string file = createDatabase("Providers/Acme/XLibData.Mdb");
    struct Case {
        ComPtr<iDatabase> db;
        const char* name;
    } cases[] = {
        {TXLIBProvider_Database::CreateDatabase(u"Acme", nullptr), "GAMMISTE"},
        {TBackfill_Database::CreateDatabase(u"ACME"), "BACKFILL"},
        {THardware_Database::CreateDatabase(u"acme"), "HARDWARE"},
    };
    for (auto& c : cases) {
        ASSERT_TRUE(c.db) << c.name;
        EXPECT_EQ(text(*c.db, &iDatabase::Get_dbname), c.name);
        EXPECT_EQ(host::resolvePath(pathOf(*c.db)), file);
        OrvWordBool opened = ORV_WFALSE;
        c.db->Get_Opened(&opened);
        EXPECT_TRUE(opened) << c.name;
    }
    // The folder asked for exists (in another letter case): no fallback.
    EXPECT_EQ(host::registry()->get(4), "");
    EXPECT_EQ(providerNameOf(*cases[1].db), "ACME");
}

TEST_F(KindsTest, ReadOnlyLibraryIsReportedAndNotOpened) {
    std::string file = createDatabase("XLib.Mdb");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    ComPtr<iDatabase> db = TXLIB_Database::CreateDatabase(nullptr);
    EXPECT_FALSE(db);
    std::string path = root + "XLib.Mdb";
    EXPECT_EQ(record->messages, std::vector<std::string>{path + " has read \"only attributes\""});
    EXPECT_EQ(record->handedExceptions, std::vector<std::string>{"CANNOT FIND " + path});
}

TEST_F(KindsTest, MissingFilesOfTheSingleFileKinds) {
    EXPECT_FALSE(TXLIB_Database::CreateDatabase(nullptr));
    EXPECT_FALSE(TXLNGDatabase::CreateDatabase(nullptr));
    EXPECT_FALSE(TXManParam_Database::CreateDatabase(nullptr));
    // Language and parameters go on to open after the report; the open
    // failure of the language kind is reported too, that of the parameters
    // kind is not.
    ASSERT_GE(record->handedExceptions.size(), 3u);
    EXPECT_EQ(record->handedExceptions[0], "CANNOT FIND " + root + "XLib.Mdb");
    EXPECT_EQ(record->handedExceptions[1], "CANNOT FIND " + root + "Languages/XLng.mdb");
    EXPECT_TRUE(record->messages.empty());
}

TEST_F(KindsTest, ManagerKindFindsItsFileThroughTheServerInformation) {
    std::string file = createDatabase("Shop/Projets.mdb");
    auto info = host::makeFolderServerInfo(host::toUtf16(root + "Shop"), u"Projets");
    ComPtr<iDatabase> db = TXMan_Database::CreateDatabase(u"MANAGER", info.get());
    ASSERT_TRUE(db);
    EXPECT_EQ(host::resolvePath(pathOf(*db)), file);
    EXPECT_EQ(text(*db, &iDatabase::Get_dbname), "MANAGER");
    EXPECT_TRUE(ComPtr<iDatabase>(db).as<IManagerStrings>());
    EXPECT_FALSE(ComPtr<iDatabase>(db).as<iProviderName>());
    EXPECT_EQ(sqlOf(*db, 0), "");
}

TEST_F(KindsTest, VersionIsReadAsTextAndIsZeroWithoutAConnection) {
    createDatabase("XLib.Mdb");
    ComPtr<iDatabase> db = TXLIB_Database::CreateDatabase(nullptr);
    ASSERT_TRUE(db);
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.0");  // no Version table
    execute(*db, {"CREATE TABLE Version (Version SINGLE)", "INSERT INTO Version VALUES (0.4)"});
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.4");
    ASSERT_EQ(db->Close(), ORV_S_OK);
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.0");
}

TEST_F(KindsTest, LibraryProviderNameIsAlwaysXlib) {
    createDatabase("XLib.Mdb");
    ComPtr<iDatabase> db = TXLIB_Database::CreateDatabase(nullptr);
    ASSERT_TRUE(db);
    ComPtr<iProviderName> named = db.as<iProviderName>();
    ASSERT_TRUE(named);
    host::Bstr other = host::Bstr::fromUtf8("Other");
    EXPECT_EQ(named->Set_ProviderName(other.get()), ORV_S_OK);
    EXPECT_EQ(providerNameOf(*db), "XLIB");
}

// Each kind hands out its own catalogue, and nothing past its end; the
// provider texts themselves run on an upgraded provider in the upgrade suite.
TEST_F(KindsTest, SqlCataloguesOfEachKind) {
    createDatabase("XLib.Mdb");
    createDatabase("Providers/Acme/XLibData.mdb");
    createDatabase("Languages/XLng.mdb");
    createDatabase("XMan/XManParam.Mdb");
    const struct {
        const char* kind;
        ComPtr<iDatabase> db;
        std::string (*catalogue)(int32_t);
        int32_t size;
    } cases[] = {
        {"library", TXLIB_Database::CreateDatabase(nullptr), librarySql, 1},
        {"provider", TBackfill_Database::CreateDatabase(u"Acme"), providerSql, 19},
        {"language", TXLNGDatabase::CreateDatabase(nullptr), languageSql, 3},
        {"parameters", TXManParam_Database::CreateDatabase(nullptr), nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_TRUE(c.db);
        for (int32_t index = -1; index <= c.size; ++index) {
            const bool inside = index >= 0 && index < c.size;
            const std::string text = sqlOf(*c.db, index);
            EXPECT_EQ(!text.empty(), inside) << "index " << index;
            if (inside) {
                EXPECT_EQ(text, c.catalogue(index)) << "index " << index;
            }
        }
    }
}

}  // namespace
}  // namespace orvdb::kinds
