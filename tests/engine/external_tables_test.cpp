// Tables of another database named in FROM ([XLIB].TypeArticleXLIB), found
// from the connection's working folder.
#include "engine/engine_error.hpp"
#include "engine_test_support.hpp"
#include "jet/read/saved_queries.hpp"

namespace orvdb::engine {
namespace {

using Texts = std::vector<std::string>;
using testing::rows;

struct ExternalTablesTest : testing::StoreFixture {
    void SetUp() override {
        testing::StoreFixture::SetUp();
        makeLibrary("Library/XLib.Mdb", {"(1, 'Profile')", "(2, 'Filling')"});
        makeLibrary("Other/XLIB.mdb", {"(1, 'Other profile')"});
        conn.execute("CREATE TABLE Discount (TypeID LONG, Rate DOUBLE)");
        conn.execute("INSERT INTO Discount VALUES (1, 0.1)");
        conn.execute("INSERT INTO Discount VALUES (2, 0.2)");
    }

    void makeLibrary(const std::string& name, const Texts& values) {
        std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
        WorkingStore::createDatabase(dir.file(name));
        auto library = testing::openFile(dir.file(name));
        library->execute("CREATE TABLE TypeArticleXLIB (ID LONG PRIMARY KEY, Name TEXT(50))");
        for (const std::string& row : values) {
            library->execute("INSERT INTO TypeArticleXLIB VALUES " + row);
        }
    }
};

struct ReferenceCase {
    const char* from;
    const char* workingFolder;  // under the scratch folder; null: none set
    Texts expected;
    const char* error;  // the start of the error; "" when the select runs
};
const ReferenceCase kReferenceCases[] = {
    {"[XLIB].TypeArticleXLIB", "Library", {"1|Profile", "2|Filling"}, ""},
    {"[xlib].typearticlexlib", "Library", {"1|Profile", "2|Filling"}, ""},
    {"[Library\\xlib].TypeArticleXLIB", "", {"1|Profile", "2|Filling"}, ""},
    {"[XLib.Mdb].TypeArticleXLIB", "Library", {"1|Profile", "2|Filling"}, ""},
    {"[XLIB].TypeArticleXLIB", "Other", {"1|Other profile"}, ""},
    {"[XLIB].TypeArticleXLIB", nullptr, {}, "Could not find file '"},
    {"[Missing].TypeArticleXLIB", "Library", {}, "Could not find file '"},
    {"[XLIB].NoSuchTable", "Library", {}, "The Microsoft Jet database engine cannot find"},
    {"[XLIB].MSysObjects", "Library", {}, "The Microsoft Jet database engine cannot find"},
};

TEST_F(ExternalTablesTest, ReferencesResolveFromTheWorkingFolder) {
    for (const ReferenceCase& reference : kReferenceCases) {
        SCOPED_TRACE(std::string(reference.from) + " from " +
                     (reference.workingFolder ? reference.workingFolder : "(none)"));
        conn.setWorkingFolder(reference.workingFolder ? dir.file(reference.workingFolder) : "");
        std::string sql = std::string("SELECT ID, Name FROM ") + reference.from + " ORDER BY ID";
        Texts selected;
        const std::string error = testing::errorOf([&] { selected = rows(conn, sql); });
        EXPECT_EQ(selected, reference.expected);
        EXPECT_EQ(error.substr(0, std::string_view(reference.error).size()), reference.error);
    }
}

TEST_F(ExternalTablesTest, TablesOfAnotherDatabaseAreOnlyRead) {
    conn.setWorkingFolder(dir.file("Library"));
    for (const char* change :
         {"UPDATE [XLIB].TypeArticleXLIB SET Name='x'", "DELETE FROM [XLIB].TypeArticleXLIB"}) {
        EXPECT_THROW(conn.execute(change), EngineError) << change;
    }
    EXPECT_EQ(rows(conn, "SELECT Name FROM [XLIB].TypeArticleXLIB ORDER BY ID"),
              (Texts{"Profile", "Filling"}));
}

TEST_F(ExternalTablesTest, EachConnectionResolvesFromItsOwnFolder) {
    auto second = testing::openFile(path);
    conn.setWorkingFolder(dir.file("Library"));
    second->setWorkingFolder(dir.file("Other"));
    const std::string sql = "SELECT Name FROM [XLIB].TypeArticleXLIB ORDER BY ID";
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(rows(conn, sql), (Texts{"Profile", "Filling"}));
        EXPECT_EQ(rows(*second, sql), Texts{"Other profile"});
    }
}

TEST_F(ExternalTablesTest, AViewKeepsItsReferenceInTheFileAndReadsCurrentRows) {
    conn.setWorkingFolder(dir.file("Library"));
    conn.execute(
        "CREATE VIEW DiscountByType AS SELECT T.Name, D.Rate FROM Discount AS D INNER JOIN "
        "[XLIB].TypeArticleXLIB AS T ON T.ID = D.TypeID");
    const std::string sql = "SELECT Name, Rate FROM DiscountByType ORDER BY Rate";
    EXPECT_EQ(rows(conn, sql), (Texts{"Profile|0.1", "Filling|0.2"}));

    // A change of the library shows at the next read, columns included.
    {
        auto library = testing::openFile(dir.file("Library/XLib.Mdb"));
        library->execute("UPDATE TypeArticleXLIB SET Name='Sash' WHERE ID=2");
        library->execute("ALTER TABLE TypeArticleXLIB ADD COLUMN Code TEXT(5)");
    }
    EXPECT_EQ(rows(conn, sql), (Texts{"Profile|0.1", "Sash|0.2"}));
    EXPECT_EQ(rows(conn, "SELECT Code FROM [XLIB].TypeArticleXLIB WHERE ID=1"), Texts{""});

    conn.store().flush();
    conn.close();
    bool found = false;
    jet::JetFile file = jet::JetFile::open(path);
    for (const jet::SavedQuery& query : jet::readSavedQueries(file)) {
        if (query.name == "DiscountByType") {
            found = true;
            EXPECT_EQ(query.problem, "");
            EXPECT_NE(query.sql.find("[XLIB].TypeArticleXLIB AS T"), std::string::npos)
                << query.sql;
        }
    }
    EXPECT_TRUE(found) << "the view is not in the file";

    auto reopened = testing::openFile(path);
    reopened->setWorkingFolder(dir.file("Library"));
    EXPECT_EQ(rows(*reopened, sql), (Texts{"Profile|0.1", "Sash|0.2"}));
}

}  // namespace
}  // namespace orvdb::engine
