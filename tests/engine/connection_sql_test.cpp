#include "engine/engine_error.hpp"
#include "engine_test_support.hpp"

#include <pthread.h>

namespace orvdb::engine {
namespace {

struct ConnectionSqlTest : testing::StoreFixture {
    std::string errorOf(const std::string& sql) {
        return testing::errorOf([&] { conn.execute(sql); });
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
    EXPECT_EQ(select("SELECT @@IDENTITY"), std::vector<std::string>{"2"});
    EXPECT_EQ(select("SELECT Nom FROM [Prix Client] WHERE Nom = 'PORTE'"),
              std::vector<std::string>{"Porte"})
        << "text compares without case";
    EXPECT_EQ(select("SELECT Prix FROM [Prix Client] ORDER BY Prix"),
              (std::vector<std::string>{"7", "12.5"}));
    EXPECT_EQ(conn.execute("UPDATE [Prix Client] SET Prix = Prix * 2 WHERE Actif = True"), 1);
    EXPECT_EQ(select("SELECT Prix FROM [Prix Client] WHERE ID = 1"),
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
    EXPECT_EQ(select("SELECT count(*) FROM T"), std::vector<std::string>{"1"});
}

TEST_F(ConnectionSqlTest, SelectIntoAndViews) {
    conn.execute("CREATE TABLE Src (ID COUNTER, Name VARCHAR(10))");
    conn.execute("INSERT INTO Src (Name) VALUES ('a')");
    conn.execute("INSERT INTO Src (Name) VALUES ('b')");
    EXPECT_EQ(conn.execute("SELECT * INTO Copy FROM Src"), 2);
    EXPECT_EQ(select("SELECT Name FROM Copy ORDER BY ID"), (std::vector<std::string>{"a", "b"}));
    conn.execute("CREATE VIEW OnlyB AS SELECT Name FROM Src WHERE Name = 'b'");
    EXPECT_EQ(select("SELECT Name FROM OnlyB"), std::vector<std::string>{"b"});
    conn.execute("DROP TABLE OnlyB");
    EXPECT_NE(errorOf("SELECT * FROM OnlyB"), "");
}

TEST_F(ConnectionSqlTest, OpeningAnActionStatementRunsItThenFails) {
    conn.execute("CREATE TABLE T (ID LONG)");
    QueryDataset q(conn);
    q.setSql("INSERT INTO T VALUES (5)");
    EXPECT_THROW(q.open(), EngineError);
    EXPECT_EQ(select("SELECT ID FROM T"), std::vector<std::string>{"5"});
}

// `first` followed by `count` times `repeated`.
std::string repeat(std::string first, const std::string& repeated, int count) {
    first.reserve(first.size() + repeated.size() * static_cast<size_t>(count));
    for (int index = 0; index < count; ++index) {
        first += repeated;
    }
    return first;
}

// Runs `body` on a thread with a 1 MB stack, as small as a host may give.
void onSmallStack(const std::function<void()>& body) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1024 * 1024);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

struct SizeCase {
    const char* what;
    std::string sql;
    std::string result;  // the first field of the only row, or the error
};

// Chains of any length run, folded as Jet folds them; none overflows a small stack.
TEST_F(ConnectionSqlTest, LongAndDeepStatementsRunOrAreTooComplex) {
    conn.execute("CREATE TABLE Notes (ID LONG PRIMARY KEY, Body MEMO)");
    // A 1,000-line text as Access writes line breaks into SQL.
    std::string lines = "'line 0'";
    std::string text = "line 0";
    for (int line = 1; line < 1000; ++line) {
        lines += "&chr(13)&chr(10)&'line " + std::to_string(line) + "'";
        text += "\r\nline " + std::to_string(line);
    }
    const SizeCase cases[] = {
        {"& of 10,000 terms, Null as nothing",
         repeat("SELECT Len('x'", " & Null & 'x'", 5000) + ")", "5001"},
        {"Or of 10,000 conditions", repeat("SELECT 1 = 2", " Or 1 = 2", 9998) + " Or 1 = 1",
         "True"},
        {"Or of conditions, then numbers bit by bit",
         repeat(repeat("SELECT 1 = 2", " Or 1 = 2", 5000) + " Or 1 Or 2 Or 4", " Or 8", 5000),
         "15"},
        {"+ of texts concatenates, then adds numbers", repeat("SELECT '1' + '2'", " + 1", 9998),
         "10010"},
        {"+ with a Null is Null", repeat("SELECT IsNull('a' + Null", " + 'b'", 9998) + ")", "True"},
        {"- of 10,000 numbers", repeat("SELECT 0.5", " - 1", 9999), "-9998.5"},
        {"+ and - mixed, text first", repeat("SELECT '1' + '2'", " + 2 - 1", 5000), "5012"},
        {"* of dates and numbers", repeat("SELECT 2", " * 1", 9998) + " * #1900-01-01#", "4"},
        {"a union of 10,000 selects",
         repeat("SELECT 0 AS X FROM Notes", " UNION ALL SELECT 1 FROM Notes", 9999),
         "Query is too complex."},
        {"calls nested 100 deep", "SELECT " + repeat("", "Abs(", 100) + "1" + std::string(100, ')'),
         "Query is too complex."},
        {"parentheses nested 100,000 deep",
         "SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')'),
         "Query is too complex."},
    };
    onSmallStack([&] {
        conn.execute("INSERT INTO Notes VALUES (1, " + lines + ")");
        EXPECT_EQ(select("SELECT Body FROM Notes"), std::vector<std::string>{text});
        for (const SizeCase& size : cases) {
            std::string result;
            try {
                std::vector<std::string> rows = select(size.sql);
                result = rows.size() == 1 ? rows.front() : std::to_string(rows.size()) + " rows";
            } catch (const std::exception& failure) {
                result = failure.what();
            }
            EXPECT_EQ(result, size.result) << size.what;
        }
    });
}

}  // namespace
}  // namespace orvdb::engine
