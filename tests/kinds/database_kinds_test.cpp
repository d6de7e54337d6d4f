// Database kinds: where each finds its file, the provider fallback, the
// messages for missing and read-only files, versions, SQL catalogues and the
// library's own upgrade.
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
using suite_test::hasColumn;
using suite_test::rows;

// The text a getter gives: text(*db, &iDatabase::Get_SQL, 3).
template <typename Object, typename Getter, typename... Args>
std::string text(Object& object, Getter get, Args... args) {
    host::Bstr value;
    EXPECT_EQ((object.*get)(args..., value.put()), ORV_S_OK);
    return value.utf8();
}

std::string providerNameOf(iDatabase& db) {
    ComPtr<iProviderName> named = ComPtr<iDatabase>(&db).as<iProviderName>();
    return named ? text(*named, &iProviderName::Get_ProviderName) : "<no iProviderName>";
}

std::string pathOf(iDatabase& db) {
    return host::toUtf8(dynamic_cast<data::torvc_Database&>(db).path());
}

class KindsTest : public suite_test::SuiteTest {};

// A provider folder without its data file falls back to another provider
// folder that has one, recorded in the registry; with none anywhere there is
// no database, and a message.
TEST_F(KindsTest, ProviderFallbackOpensAnotherProviderFolderAndRecordsIt) {
    std::filesystem::create_directories(root + "Providers/Alpha");  // no data file
    std::filesystem::create_directories(root + "Providers/Empty");  // never offered
    EXPECT_FALSE(TXLIBProvider_Database::CreateDatabase(u"Alpha", nullptr));
    ASSERT_EQ(record->messages.size(), 1u);
    EXPECT_EQ(record->messages[0].rfind("CANNOT FIND " + root + "Providers/", 0), 0u)
        << record->messages[0];
    EXPECT_TRUE(record->handedExceptions.empty());
    EXPECT_EQ(host::registry()->get(4), "");

    std::string beta = createDatabase("Providers/Beta/xlibdata.mdb");
    ComPtr<iDatabase> db = TXLIBProvider_Database::CreateDatabase(u"Alpha", nullptr);
    ASSERT_TRUE(db);
    EXPECT_EQ(host::resolvePath(pathOf(*db)), beta);
    EXPECT_EQ(providerNameOf(*db), "Beta");
    EXPECT_EQ(host::registry()->get(4), "Beta");
    EXPECT_EQ(text(*db, &iDatabase::Get_dbname), "GAMMISTE");
    EXPECT_EQ(record->messages.size(), 1u);
    EXPECT_EQ(ListProviderFolders(), std::vector<std::string>{"Beta"});
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

// Language and parameters go on to open after the report of a missing file;
// the open failure of the language kind is reported too, that of the
// parameters kind is not. A read-only library is reported and not opened.
TEST_F(KindsTest, MissingAndReadOnlyFilesOfTheSingleFileKinds) {
    EXPECT_FALSE(TXLIB_Database::CreateDatabase(nullptr));
    EXPECT_FALSE(TXLNGDatabase::CreateDatabase(nullptr));
    EXPECT_FALSE(TXManParam_Database::CreateDatabase(nullptr));
    const std::string library = root + "XLib.Mdb";
    ASSERT_GE(record->handedExceptions.size(), 3u);
    EXPECT_EQ(record->handedExceptions[0], "CANNOT FIND " + library);
    EXPECT_EQ(record->handedExceptions[1], "CANNOT FIND " + root + "Languages/XLng.mdb");
    EXPECT_TRUE(record->messages.empty());

    record->handedExceptions.clear();
    ASSERT_EQ(::chmod(createDatabase("XLib.Mdb").c_str(), 0444), 0);
    EXPECT_FALSE(TXLIB_Database::CreateDatabase(nullptr));
    EXPECT_EQ(record->messages,
              std::vector<std::string>{library + " has read \"only attributes\""});
    EXPECT_EQ(record->handedExceptions, std::vector<std::string>{"CANNOT FIND " + library});
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
    EXPECT_EQ(text(*db, &iDatabase::Get_SQL, 0), "");
}

// The library's version is read as text, and is zero without a connection;
// its provider name is always XLIB.
TEST_F(KindsTest, LibraryVersionAndProviderName) {
    createDatabase("XLib.Mdb");
    ComPtr<iDatabase> db = TXLIB_Database::CreateDatabase(nullptr);
    ASSERT_TRUE(db);
    ComPtr<iProviderName> named = db.as<iProviderName>();
    ASSERT_TRUE(named);
    EXPECT_EQ(named->Set_ProviderName(host::Bstr::fromUtf8("Other").get()), ORV_S_OK);
    EXPECT_EQ(providerNameOf(*db), "XLIB");
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.0");  // no Version table
    execute(*db, {"CREATE TABLE Version (Version SINGLE)", "INSERT INTO Version VALUES (0.4)"});
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.4");
    ASSERT_EQ(db->Close(), ORV_S_OK);
    EXPECT_EQ(text(*db, &iDatabase::GetVersion), "0.0");
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
            const std::string sql = text(*c.db, &iDatabase::Get_SQL, index);
            EXPECT_EQ(!sql.empty(), inside) << "index " << index;
            if (inside) {
                EXPECT_EQ(sql, c.catalogue(index)) << "index " << index;
            }
        }
    }
}

// The library's own upgrade: [Position] moves to ZV_Position in every user
// table that has it, once, and the version becomes 0.5002.
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
