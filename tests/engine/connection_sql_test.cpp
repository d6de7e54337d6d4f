#include "engine/dataset/query_dataset.hpp"
#include "engine/engine_error.hpp"
#include "engine_test_support.hpp"

namespace orvdb::engine {
namespace {

struct ConnectionSqlTest : testing::StoreFixture {
    std::vector<std::string> column(const std::string& sql, int index = 0) {
        return testing::column(conn, sql, index);
    }
    std::string errorOf(const std::string& sql) {
        try {
            conn.execute(sql);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(ConnectionSqlTest, DefinitionsAndChangesThroughAccessSql) {
    conn.execute(
        "CREATE TABLE [Prix Client] (ID AUTOINCREMENT PRIMARY KEY, Nom VARCHAR(20) NOT NULL, "
        "Prix FLOAT, Actif BIT)");
    EXPECT_EQ(
        conn.execute("INSERT INTO [Prix Client] (Nom, Prix, Actif) VALUES ('Porte', 12.5, True)"),
        1);
    EXPECT_EQ(conn.execute("INSERT INTO [prix client] (Nom, Prix) VALUES ('fenêtre', '7')"), 1);
    EXPECT_EQ(column("SELECT @@IDENTITY"), std::vector<std::string>{"2"});
    EXPECT_EQ(column("SELECT Nom FROM [Prix Client] WHERE Nom = 'PORTE'"),
              std::vector<std::string>{"Porte"})
        << "text compares without case";
    EXPECT_EQ(column("SELECT Prix FROM [Prix Client] ORDER BY Prix"),
              (std::vector<std::string>{"7", "12.5"}));
    EXPECT_EQ(conn.execute("UPDATE [Prix Client] SET Prix = Prix * 2 WHERE Actif = True"), 1);
    EXPECT_EQ(column("SELECT Prix FROM [Prix Client] WHERE ID = 1"),
              std::vector<std::string>{"25"});
    EXPECT_EQ(conn.execute("DELETE * FROM [Prix Client] WHERE ID = 2"), 1);
    EXPECT_EQ(conn.userTableNames(), std::vector<std::string>{"Prix Client"});
}

TEST_F(ConnectionSqlTest, FailingStatementsChangeNothing) {
    conn.execute("CREATE TABLE T (ID LONG PRIMARY KEY, Code VARCHAR(3))");
    conn.execute("INSERT INTO T VALUES (1, 'abc')");
    EXPECT_NE(errorOf("INSERT INTO T VALUES (2, 'abcd')").find("too small"), std::string::npos);
    EXPECT_NE(errorOf("INSERT INTO T VALUES (1, 'x')").find("duplicate values"), std::string::npos);
    EXPECT_NE(errorOf("INSERT INTO T SELECT ID + 1, Code FROM T UNION ALL SELECT 1, 'z' FROM T")
                  .find("duplicate"),
              std::string::npos);
    EXPECT_EQ(column("SELECT count(*) FROM T"), std::vector<std::string>{"1"});
    EXPECT_EQ(errorOf("CREATE TABLE t (X LONG)"), "Table 't' already exists.");
    EXPECT_EQ(errorOf("ALTER TABLE T ADD COLUMN code TEXT(5)"),
              "Field 'code' already exists in table 'T'.");
}

TEST_F(ConnectionSqlTest, SelectIntoAndViews) {
    conn.execute("CREATE TABLE Src (ID COUNTER, Name VARCHAR(10))");
    conn.execute("INSERT INTO Src (Name) VALUES ('a')");
    conn.execute("INSERT INTO Src (Name) VALUES ('b')");
    EXPECT_EQ(conn.execute("SELECT * INTO Copy FROM Src"), 2);
    EXPECT_EQ(column("SELECT Name FROM Copy ORDER BY ID"), (std::vector<std::string>{"a", "b"}));
    conn.execute("CREATE VIEW OnlyB AS SELECT Name FROM Src WHERE Name = 'b'");
    EXPECT_EQ(column("SELECT Name FROM OnlyB"), std::vector<std::string>{"b"});
    conn.execute("DROP TABLE OnlyB");
    EXPECT_NE(errorOf("SELECT * FROM OnlyB"), "");
}

TEST_F(ConnectionSqlTest, OpeningAnActionStatementRunsItThenFails) {
    conn.execute("CREATE TABLE T (ID LONG)");
    QueryDataset q(conn);
    q.setSql("INSERT INTO T VALUES (5)");
    EXPECT_THROW(q.open(), EngineError);
    EXPECT_EQ(column("SELECT ID FROM T"), std::vector<std::string>{"5"});
}

}  // namespace
}  // namespace orvdb::engine
