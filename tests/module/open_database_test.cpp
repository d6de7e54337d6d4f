// OpenDatabase and the connection-settings file it reads.
#include "module_test_support.hpp"

#include <gmock/gmock.h>
#include <orvdb/com_ptr.hpp>

#include "data/database.hpp"
#include "data/mariadb/settings.hpp"
#include "module/connection_settings.hpp"
#include "module/profile_file.hpp"
#include "support/mariadb_server.hpp"

namespace orvdb::module_test {
namespace {

using module::ProfileFile;

TEST(ProfileFile, ReadsSectionsAndKeysAsWindowsDoes) {
    ProfileFile file = ProfileFile::parse(
        "; a comment line\n"
        "ORPHAN=before any section\n"
        "[ConnexionXlib]\r\n"
        "   Name = Library   \r\n"
        "path=/data/a;b.mdb\n"
        "quoted=\"  spaced  \"\n"
        "single='x'\n"
        "mismatched=\"x'\n"
        "empty=\n"
        "no equals sign\n"
        "name=second occurrence\n"
        "[ other ]\n"
        "NAME=Other\n"
        "[CONNEXIONXLIB]\n"
        "FORMAT=later section\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"CONNEXIONXLIB", "NAME", "Library"},        // trimmed, names without case, first wins
        {"connexionxlib", "Path", "/data/a;b.mdb"},  // no inline comments
        {"CONNEXIONXLIB", "quoted", "  spaced  "},
        {"CONNEXIONXLIB", "single", "x"},
        {"CONNEXIONXLIB", "mismatched", "\"x'"},
        {"CONNEXIONXLIB", "empty", ""},
        {"CONNEXIONXLIB", "no equals sign", std::nullopt},
        {"CONNEXIONXLIB", "FORMAT", "later section"},
        {"OTHER", "name", "Other"},
        {"", "ORPHAN", std::nullopt},
        {"CONNEXIONXLIB", "OPEN", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file.value(c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
}

TEST(ProfileFile, DecodesTheEncodingsWindowsToolsWrite) {
    // "é" in each encoding a settings file may come in.
    const std::string utf16le("\xFF\xFE[\0S\0]\0\n\0K\0=\0\xE9\0", 16);
    const std::string utf16be("\xFE\xFF\0[\0S\0]\0\n\0K\0=\0\xE9", 16);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8", "[S]\nK=\xC3\xA9"},    {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\nK=\xC3\xA9"},
        {"UTF-16LE", utf16le},           {"UTF-16BE", utf16be},
        {"Windows-1252", "[S]\nK=\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileFile::parse(module::profileTextToUtf8(c.bytes)).value("S", "K"),
                  "\xC3\xA9")
            << c.what;
    }
    EXPECT_EQ(module::profileTextToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");  // € Ÿ
}

TEST(ConnectionSettings, DefaultsAndUpperCasing) {
    auto settings = [](const std::string& body) {
        return module::readConnectionSettings(ProfileFile::parse("[CONNEXIONdemo]\n" + body),
                                              "DEMO");
    };
    module::ConnectionSettings none = settings("");
    EXPECT_EQ(none.name, "UNDEFINED");
    EXPECT_EQ(none.alias, "UNDEFINED");
    EXPECT_EQ(none.path, "");
    EXPECT_FALSE(none.open);

    // Paths and formats: OpenDatabaseTest.PathsAreStoredUpperCasedAndStillFound.
    module::ConnectionSettings all = settings("name=démo\nalias=\n");
    EXPECT_EQ(all.name, "DéMO");  // only ASCII letters change
    EXPECT_EQ(all.alias, "");     // present but empty: no default

    EXPECT_EQ(settings("NAME=lib\n").alias, "LIB");
}

class OpenDatabaseTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        createDatabaseFile(database);
    }

    // OpenDatabase on a settings file holding section CONNEXIONDEMO.
    OrvHResult open(const std::string& section, ComPtr<iDatabase>& out) {
        writeFile(settings, "[CONNEXIONDEMO]\n" + section);
        OrvIDatabase* handle = nullptr;
        OrvHResult status = OpenDatabase(H(settings).get(), H("DEMO").get(), &handle);
        out = ComPtr<iDatabase>::adopt(reinterpret_cast<iDatabase*>(handle));
        return status;
    }
    data::torvc_Database& connection(ComPtr<iDatabase>& db) {
        return dynamic_cast<data::torvc_Database&>(*db.get());
    }

    std::string database = dir.file("Files/demo.mdb");
    std::string settings = dir.file("connexion.ini");
};

// What each section gives: no database without a name, PATH or file; OPEN
// is compared after upper-casing and trimming, and defaults to closed.
TEST_F(OpenDatabaseTest, SectionsGiveADatabaseNamedAndOpenedAsTheySay) {
    const std::string path = "PATH=" + database + "\n";
    const struct {
        std::string section;
        OrvHResult status;
        const char* name;  // of the database given, if any
        bool opened;
    } cases[] = {
        {path, ORV_S_OK, "UNDEFINED", false},
        {"NAME=demo\n" + path + "OPEN=true\n", ORV_S_OK, "DEMO", true},
        {"NAME=demo\n" + path + "OPEN=tRuE\n", ORV_S_OK, "DEMO", true},
        {"NAME=demo\n" + path + "OPEN= true \n", ORV_S_OK, "DEMO", true},
        {"NAME=demo\n" + path + "OPEN=yes\n", ORV_S_OK, "DEMO", false},
        {"NAME=demo\n" + path + "OPEN=1\n", ORV_S_OK, "DEMO", false},
        {"NAME=demo\n" + path + "OPEN=\n", ORV_S_OK, "DEMO", false},
        {"NAME=\n" + path, ORV_S_FALSE, nullptr, false},
        {"NAME=demo\nPATH=" + dir.file("none.mdb") + "\n", ORV_S_FALSE, nullptr, false},
        {"NAME=demo\n", ORV_S_FALSE, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        ComPtr<iDatabase> db;
        ASSERT_EQ(open(c.section, db), c.status);
        ASSERT_EQ(static_cast<bool>(db), c.name != nullptr);
        if (db) {
            Database wrapped(db);
            EXPECT_EQ(wrapped.name(), c.name);
            EXPECT_EQ(wrapped.opened(), c.opened);
        }
    }
    EXPECT_TRUE(recorder->handedExceptions.empty());
}

TEST_F(OpenDatabaseTest, PathsAreStoredUpperCasedAndStillFound) {
    // The folder holds lower-case letters that upper-casing changes.
    ComPtr<iDatabase> db;
    ASSERT_EQ(open("name=demo\npath=" + database + "\nparampath=" + dir.file("params.dat") +
                       "\nformat=jet\nopen=true\n",
                   db),
              ORV_S_OK);
    data::torvc_Database& object = connection(db);
    EXPECT_EQ(host::toUtf8(object.path()), module::upperCaseAscii(database));
    EXPECT_NE(host::toUtf8(object.path()), database);
    EXPECT_EQ(host::toUtf8(object.paramFilename()), module::upperCaseAscii(dir.file("params.dat")));
    EXPECT_EQ(host::toUtf8(object.format()), "JET");
    EXPECT_EQ(host::toUtf8(object.dbname()), "DEMO");
    ASSERT_TRUE(object.opened()) << (recorder->handedExceptions.empty()
                                         ? ""
                                         : recorder->handedExceptions.front());
    Database wrapped(db);
    wrapped.execute("CREATE TABLE T (A LONG)");
    EXPECT_TRUE(wrapped.tableExists("T")) << "the upper-cased path reached the file";
}

// The settings file's name, its section and key names are found without
// regard to case.
TEST_F(OpenDatabaseTest, FileSectionAndKeyNamesIgnoreCase) {
    writeFile(settings, "[connexionDemo]\nnAmE=lower\nPaTh=" + database + "\n");
    OrvIDatabase* handle = nullptr;
    ASSERT_EQ(OpenDatabase(H(dir.file("CONNEXION.INI")).get(), H("demo").get(), &handle), ORV_S_OK);
    Database db(ComPtr<iDatabase>::adopt(reinterpret_cast<iDatabase*>(handle)));
    EXPECT_EQ(db.name(), "LOWER");
}

TEST_F(OpenDatabaseTest, FailedOpenIsHandedToTheHostAndTheDatabaseComesBackClosed) {
    writeFile(dir.file("Files/broken.mdb"), "this is not a database");
    ComPtr<iDatabase> db;
    ASSERT_EQ(open("NAME=demo\nPATH=" + dir.file("Files/broken.mdb") + "\nOPEN=TRUE\n", db),
              ORV_S_OK);
    ASSERT_TRUE(db);
    EXPECT_FALSE(Database(db).opened());
    ASSERT_EQ(recorder->handedExceptions.size(), 1u);
}

TEST_F(OpenDatabaseTest, MissingSettingsFileIsInvalidArgumentAndTheOutArgumentIsOnlyWritten) {
    Database opened = Database::openFile(database);
    ComPtr<iDatabase> previous(opened.get());
    auto& object = connection(previous);
    const int32_t before = object.refCount();
    OrvIDatabase* handle = reinterpret_cast<OrvIDatabase*>(previous.get());
    EXPECT_EQ(OpenDatabase(H(dir.file("nowhere.ini")).get(), H("DEMO").get(), &handle),
              ORV_E_INVALIDARG);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(object.refCount(), before) << "what the variable held was released";
}

// FORMAT=MARIADB: the server keys keep their case, PATH is not needed, a
// bad PORT names the section, and an unreachable server comes back closed.
TEST(ConnectionSettings, MariaDbSectionsReadTheServerKeys) {
    auto settings = [](const std::string& body) {
        return module::readConnectionSettings(ProfileFile::parse("[CONNEXIONshop]\n" + body),
                                              "SHOP");
    };
    module::ConnectionSettings shop = settings(
        "NAME=shop\nFORMAT=MariaDB\nHOST=Db.Lan\nPORT=3307\nDATABASE=Shop\nUSER=Joe\n"
        "PASSWORD=Se;cret\n");
    EXPECT_TRUE(shop.mariadb);
    EXPECT_EQ(data::mariadb::describe(shop.server), "Joe@Db.Lan:3307/Shop");
    EXPECT_EQ(shop.server.password, "Se;cret");
    module::ConnectionSettings defaults = settings("FORMAT=mariadb\nDATABASE=x\n");
    EXPECT_EQ(data::mariadb::describe(defaults.server), "localhost:3306/x");
    EXPECT_FALSE(settings("FORMAT=JET\nHOST=h\n").mariadb);
    for (const char* port : {"0", "70000", "x", ""}) {
        try {
            settings(std::string("FORMAT=MARIADB\nPORT=") + port + "\n");
            ADD_FAILURE() << "PORT=" << port << " was accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr("CONNEXIONSHOP"));
        }
    }
}

TEST_F(OpenDatabaseTest, MariaDbSectionOpensTheServerDatabase) {
    test_support::ScratchServerDatabase scratch;
    ORVDB_SKIP_WITHOUT_MARIADB(scratch);
    const data::mariadb::Settings& server = scratch.settings();
    std::string section =
        "NAME=shop\nFORMAT=MARIADB\nHOST=" + server.host + "\nPORT=" + std::to_string(server.port) +
        "\nDATABASE=" + server.database + "\nUSER=" + server.user + "\nOPEN=TRUE\n";
    ComPtr<iDatabase> db;
    ASSERT_EQ(open(section + "PASSWORD=" + server.password + "\n", db), ORV_S_OK);
    Database opened(db);
    ASSERT_TRUE(opened.opened()) << (recorder->handedExceptions.empty()
                                         ? ""
                                         : recorder->handedExceptions.front());
    opened.execute("CREATE TABLE `Prix` (`Id` INT)");
    EXPECT_TRUE(opened.tableExists("prix"));

    ComPtr<iDatabase> refused;
    ASSERT_EQ(open(section + "PASSWORD=wrong\n", refused), ORV_S_OK);
    EXPECT_FALSE(Database(refused).opened());
    ASSERT_EQ(recorder->handedExceptions.size(), 1u);
    EXPECT_THAT(recorder->handedExceptions[0], ::testing::HasSubstr(server.database));
}

}  // namespace
}  // namespace orvdb::module_test
