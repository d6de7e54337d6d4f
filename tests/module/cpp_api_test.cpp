// The C++ API: handles, scopes, typed reads and errors.
#include "module_test_support.hpp"

#include <gmock/gmock.h>

#include "data/database.hpp"

namespace orvdb::module_test {
namespace {

using ::testing::HasSubstr;

class CppApi : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        createDatabaseFile(path);
    }
    std::string path = dir.file("api.mdb");
};

TEST_F(CppApi, ReadsTypedFieldsThroughAQueryScope) {
    Database db = Database::openFile(path);
    EXPECT_EQ(db.name(), "api");
    db.execute(
        "CREATE TABLE Prix (Id COUNTER PRIMARY KEY, Nom VARCHAR(20), Qte LONG, Taux DOUBLE, "
        "Actif YESNO, Jour DATETIME)");
    EXPECT_TRUE(db.execute(
        "INSERT INTO Prix (Nom, Qte, Taux, Actif, Jour) VALUES ('Fenêtre', 3, 1.5, True, "
        "#2024-03-05 14:07:09#)"));
    EXPECT_TRUE(db.execute("INSERT INTO Prix (Nom) VALUES ('Porte')"));

    auto& object = dynamic_cast<data::torvc_Database&>(*db.get());
    {
        QueryScope query(db);
        EXPECT_EQ(object.queryDepth(), 1);
        ASSERT_TRUE(query->select("SELECT * FROM Prix ORDER BY Id"));
        EXPECT_EQ(query->fieldCount(), 6);
        EXPECT_EQ(query->fieldName(1), "Nom");
        EXPECT_EQ(query->getString("Nom"), "Fenêtre");
        EXPECT_EQ(query->getInt("Qte"), 3);
        EXPECT_DOUBLE_EQ(query->getDouble("Taux"), 1.5);
        EXPECT_TRUE(query->getBool("Actif"));
        EXPECT_NEAR(query->getDateTime("Jour"), 45356 + (14 * 3600 + 7 * 60 + 9) / 86400.0, 1e-9);
        EXPECT_FALSE(query->isNull("Qte"));
        ASSERT_TRUE(query->next());
        EXPECT_EQ(query->getString("Nom"), "Porte");
        EXPECT_TRUE(query->isNull("Qte"));
        EXPECT_EQ(query->getInt("Qte"), 0);
        EXPECT_FALSE(query->next());
        EXPECT_FALSE(query->opened());
    }
    EXPECT_EQ(object.queryDepth(), 0) << "the scope pops its level";
}

TEST_F(CppApi, QuietSqlFailuresDoNotThrowButInterfaceFailuresDo) {
    Database db = Database::openFile(path);
    QueryScope query(db);
    EXPECT_FALSE(query->select("SELECT * FROM Missing"));
    EXPECT_THAT(query->lastError(), HasSubstr("'Missing'")) << "the select's error is kept";
    EXPECT_FALSE(query->execute("DROP TABLE Missing"));
    EXPECT_THAT(query->lastError(), HasSubstr("'Missing'")) << "and the action statement's";
    db.execute("CREATE TABLE T (A LONG)");
    db.execute("INSERT INTO T (A) VALUES (1)");
    EXPECT_FALSE(query->select("SELECT A FROM T WHERE A = 2"));
    EXPECT_EQ(query->lastError(), "") << "no row is not a failure";
    ASSERT_TRUE(query->select("SELECT A FROM T"));
    try {
        query->getInt("Nope");
        FAIL() << "no exception";
    } catch (const Error& e) {
        EXPECT_TRUE(ORV_FAILED(e.status()));
        EXPECT_NE(std::string(e.what()).find("Nope"), std::string::npos) << e.what();
    }
    EXPECT_THROW(query->getBool("Nope"), Error) << "direct slots too";
}

TEST_F(CppApi, TableScopeAppendsAndReportsTheNewId) {
    Database db = Database::openFile(path);
    db.execute("CREATE TABLE Stock (Id COUNTER PRIMARY KEY, Ref VARCHAR(10))");
    db.execute("INSERT INTO Stock (Ref) VALUES ('A')");
    {
        TableScope table(db);
        table->open("Stock");
        table->seek("0");
        table->setString("Ref", "B");
        table->post();
        EXPECT_EQ(table->id(), "2");
    }
    EXPECT_EQ(selectRows(db, "SELECT Id, Ref FROM Stock ORDER BY Id"),
              (std::vector<std::string>{"1|A", "2|B"}));
    EXPECT_EQ(dynamic_cast<data::torvc_Database&>(*db.get()).tableDepth(), 0);
}

TEST_F(CppApi, OpeningFromAFileOrSettings) {
    try {
        Database::openFile(dir.file("none.mdb"));
        FAIL() << "no exception";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("none.mdb"), std::string::npos) << e.what();
    }
    writeFile(dir.file("junk.mdb"), "not a database");
    EXPECT_THROW(Database::openFile(dir.file("junk.mdb")), Error);
    EXPECT_EQ(recorder->handedExceptions.size(), 1u) << "the reason went to the host";

    // From a settings file: the statuses of OpenDatabase.
    writeFile(dir.file("c.ini"), "[CONNEXIONA]\nNAME=a\nPATH=" + path +
                                     "\nOPEN=TRUE\n[CONNEXIONB]\nNAME=\nPATH=" + path + "\n");
    Database a = Database::fromSettings(dir.file("c.ini"), "A");
    EXPECT_TRUE(a.opened());
    EXPECT_EQ(a.name(), "A");
    const struct {
        std::string file;
        std::string alias;
        OrvHResult status;
    } failures[] = {{dir.file("c.ini"), "B", ORV_S_FALSE},
                    {dir.file("none.ini"), "A", ORV_E_INVALIDARG}};
    for (const auto& f : failures) {
        try {
            Database::fromSettings(f.file, f.alias);
            FAIL() << f.alias;
        } catch (const Error& e) {
            EXPECT_EQ(e.status(), f.status) << e.what();
        }
    }
}

}  // namespace
}  // namespace orvdb::module_test
