#include "engine/dataset/statement_cache.hpp"
#include "engine/dataset/statement_shape.hpp"
#include "engine/engine_error.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine_test_support.hpp"

#include <optional>

namespace orvdb::engine {
namespace {

using Texts = std::vector<std::string>;

std::string keyOf(std::string_view sql) {
    StatementShape shape;
    shapeStatement(sql, shape);
    return shape.key;
}

TEST(StatementShapeTest, StatementsShareAShapeOnlyWithLiteralsOfTheSameKind) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"SELECT * FROM T WHERE ID = 1", "SELECT * FROM T WHERE ID = 22", true},
        {"SELECT * FROM T WHERE N = 'a'", "SELECT * FROM T WHERE N = \"it's\"", true},
        {"SELECT * FROM T WHERE P = 1.5", "SELECT * FROM T WHERE P = 2e3", true},
        {"SELECT * FROM T WHERE ID = 1", "SELECT * FROM T WHERE ID = '1'", false},
        {"SELECT * FROM T WHERE ID = 1", "SELECT * FROM T WHERE ID = 1.0", false},
        // Beyond 32 bits an integer types as Double.
        {"SELECT * FROM T WHERE ID = 1", "SELECT * FROM T WHERE ID = 3000000000", false},
        // Beyond 64 bits it is a Double the parser makes: kept as written.
        {"SELECT * FROM T WHERE ID = 99999999999999999999",
         "SELECT * FROM T WHERE ID = 99999999999999999998", false},
        // Names, dates and words holding digits are not literals.
        {"SELECT [Col 1] FROM T", "SELECT [Col 2] FROM T", false},
        {"SELECT `a1` FROM T", "SELECT `a2` FROM T", false},
        {"SELECT * FROM T1", "SELECT * FROM T2", false},
        {"SELECT * FROM T WHERE D = #1/2/2020#", "SELECT * FROM T WHERE D = #1/3/2020#", false},
        // Text around the literals must match exactly.
        {"SELECT * FROM T WHERE ID = 1", "SELECT * FROM T WHERE ID  = 1", false},
        {"SELECT * FROM T WHERE N = 'a' AND M = 'b'", "SELECT * FROM T WHERE N = 'x' AND M = 'y'",
         true},
        // A number token ends where the lexer ends it.
        {"SELECT 1e5 FROM T", "SELECT 2.5 FROM T", true},
        {"SELECT 1e FROM T", "SELECT 2e FROM T", true},
        {"SELECT 1e FROM T", "SELECT 2.5 FROM T", false},
        // Were the marker byte copied into a key, this text could meet a literal's.
        {"SELECT * FROM T WHERE N = 5",
         "SELECT * FROM T WHERE N = \x01"
         "i",
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyOf(c.a) == keyOf(c.b), c.same) << c.a << "  /  " << c.b;
    }
}

TEST(StatementShapeTest, LiteralValuesAreReadAsTheParserReadsThem) {
    StatementShape shape;
    shapeStatement("INSERT INTO T VALUES (7, 'O''Brien', \"say \"\"hi\"\"\", .5, -3, 4000000000)",
                   shape);
    ASSERT_EQ(shape.literals.size(), 6u);
    EXPECT_EQ(shape.literals[0].integer, 7);
    EXPECT_EQ(shape.literals[1].text, "O'Brien");
    EXPECT_EQ(shape.literals[2].text, "say \"hi\"");
    EXPECT_EQ(shape.literals[3].real, 0.5);
    EXPECT_EQ(shape.literals[4].integer, 3) << "the sign is an operator, kept in the text";
    EXPECT_EQ(shape.literals[5].kind, LiteralKind::WideInteger);
    EXPECT_EQ(shape.literals[5].integer, 4000000000);
}

struct StatementCacheTest : testing::StoreFixture {
    void SetUp() override {
        StoreFixture::SetUp();
        conn.execute(
            "CREATE TABLE Item (ID LONG PRIMARY KEY, Name TEXT(30), Price DOUBLE, Big DOUBLE, "
            "D DATETIME)");
        conn.execute("INSERT INTO Item VALUES (1, 'Porte', 12.5, 3000000000, #2020-01-01#)");
        conn.execute("INSERT INTO Item VALUES (2, 'O''Brien', 7, 5, #2020-03-15#)");
        conn.execute("INSERT INTO Item VALUES (3, 'say \"hi\"', -2.25, -1, #2021-06-30#)");
        conn.execute("CREATE TABLE Part (ItemID LONG, Qty LONG)");
        conn.execute("INSERT INTO Part VALUES (1, 4)");
        conn.execute("INSERT INTO Part VALUES (2, 9)");
    }
    std::string errorOf(const std::string& sql) {
        return testing::errorOf([&] { select(sql); });
    }
    StatementCache& cache() { return conn.store().statementCache(); }
};

std::string inList(int first, int count) {
    std::string sql = "SELECT Count(*) FROM Item WHERE ID IN (";
    for (int i = 0; i < count; ++i) {
        sql += (i ? ", " : "") + std::to_string(first + i);
    }
    return sql + ")";
}

// Run twice, so that the second round answers from the cache (no value: an error).
TEST_F(StatementCacheTest, EachStatementOfAShapeAnswersWithItsOwnValues) {
    struct Case {
        std::string sql;
        std::optional<Texts> values;
    };
    const std::vector<Case> cases = {
        {"SELECT ID FROM Item WHERE ID = 1", Texts{"1"}},
        {"SELECT ID FROM Item WHERE ID = 3", Texts{"3"}},
        {"SELECT ID FROM Item WHERE ID = 4", Texts{}},
        {"SELECT ID FROM Item WHERE ID = -1", Texts{}},
        {"SELECT ID FROM Item WHERE Name = 'O''Brien'", Texts{"2"}},
        {"SELECT ID FROM Item WHERE Name = 'say \"hi\"'", Texts{"3"}},
        {"SELECT ID FROM Item WHERE Name = 'PORTE'", Texts{"1"}},  // text compares without case
        {"SELECT ID FROM Item WHERE Price = 12.5", Texts{"1"}},
        {"SELECT ID FROM Item WHERE Price = -2.25", Texts{"3"}},
        {"SELECT ID FROM Item WHERE Price = 7", Texts{"2"}},
        {"SELECT ID FROM Item WHERE Big = 3000000000", Texts{"1"}},
        {"SELECT ID FROM Item WHERE Big = 5", Texts{"2"}},
        {"SELECT ID FROM Item WHERE Price > 0 AND Big < 10", Texts{"2"}},
        {"SELECT ID FROM Item WHERE Price > -5 AND Big < 4000000000 ORDER BY ID",
         Texts{"1", "2", "3"}},
        // Jet refuses a text constant against a number column; a plan shared
        // with the number would bind '2' and answer. The other way round, a
        // text column against a number finds nothing.
        {"SELECT Name FROM Item WHERE ID = 2", Texts{"O'Brien"}},
        {"SELECT Name FROM Item WHERE ID = '2'", std::nullopt},
        {"SELECT ID FROM Item WHERE Name = 'Porte'", Texts{"1"}},
        {"SELECT ID FROM Item WHERE Name = 5", Texts{}},
        // Literals the translation reads stay part of the statement.
        {"SELECT TOP 1 ID FROM Item WHERE ID > 0 ORDER BY ID", Texts{"1"}},
        {"SELECT TOP 2 ID FROM Item WHERE ID > 0 ORDER BY ID", Texts{"1", "2"}},
        {"SELECT ID FROM Item WHERE ID IN (1, 3) ORDER BY ID", Texts{"1", "3"}},
        {"SELECT ID FROM Item WHERE ID IN (2, 3) ORDER BY ID", Texts{"2", "3"}},
        // Jet takes Between's bounds in either order.
        {"SELECT ID FROM Item WHERE ID Between 3 And 2 ORDER BY ID", Texts{"2", "3"}},
        {"SELECT ID FROM Item WHERE ID Between 1 And 2 ORDER BY ID", Texts{"1", "2"}},
        {"SELECT ID FROM Item WHERE Format(D, 'yyyy') = '2020' ORDER BY ID", Texts{"1", "2"}},
        {"SELECT ID FROM Item WHERE Format(D, 'mm') = '06'", Texts{"3"}},
        {"SELECT ID FROM Item WHERE DateAdd('m', 1, D) = #2020-04-15#", Texts{"2"}},
        {"SELECT ID FROM Item WHERE DateAdd('d', 1, D) = #2020-01-02#", Texts{"1"}},
        {"SELECT 'a' AS X FROM Item WHERE ID = 1", Texts{"a"}},
        {"SELECT 'b' AS X FROM Item WHERE ID = 1", Texts{"b"}},
        {"SELECT ID + 10 FROM Item WHERE ID = 1", Texts{"11"}},
        {"SELECT ID + 20 FROM Item WHERE ID = 1", Texts{"21"}},
        // A comparison in the select list is not a condition.
        {"SELECT ID = 1 AS F FROM Item WHERE ID = 1", Texts{"True"}},
        {"SELECT ID = 2 AS F FROM Item WHERE ID = 1", Texts{"False"}},
        {"SELECT Count(*) FROM Item GROUP BY Price > 0 HAVING Count(*) > 1", Texts{"2"}},
        {"SELECT Count(*) FROM Item GROUP BY Price > 0 HAVING Count(*) > 0 ORDER BY 1",
         Texts{"1", "2"}},
        // Conditions in subqueries and joins.
        {"SELECT Name FROM Item WHERE ID IN (SELECT ItemID FROM Part WHERE Qty = 4)",
         Texts{"Porte"}},
        {"SELECT Name FROM Item WHERE ID IN (SELECT ItemID FROM Part WHERE Qty = 9)",
         Texts{"O'Brien"}},
        {"SELECT Name FROM Item INNER JOIN Part ON Item.ID = Part.ItemID AND Part.Qty > 5",
         Texts{"O'Brien"}},
        {"SELECT Name FROM Item INNER JOIN Part ON Item.ID = Part.ItemID AND Part.Qty > 1 "
         "ORDER BY Name",
         Texts{"O'Brien", "Porte"}},
        // Long literal lists are keyed as written.
        {inList(1, 1500), Texts{"3"}},
        {inList(3, 1500), Texts{"1"}},
        {inList(4, 1500), Texts{"0"}},
        // The lexer reads a marker byte as a blank and i as an unknown name:
        // it does not meet the shape of ID = 5.
        {"SELECT Name FROM Item WHERE ID = 5", Texts{}},
        {"SELECT Name FROM Item WHERE ID = \x01"
         "i",
         std::nullopt},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            if (c.values) {
                EXPECT_EQ(select(c.sql), *c.values) << c.sql.substr(0, 200) << " round " << round;
            } else {
                EXPECT_NE(errorOf(c.sql), "") << c.sql << " round " << round;
            }
        }
    }
}

TEST_F(StatementCacheTest, ValuesOfOneShapeShareOnePreparedStatement) {
    size_t before = cache().size();
    for (int id = 1; id <= 50; ++id) {
        select("SELECT Name FROM Item WHERE ID = " + std::to_string(id));
    }
    EXPECT_EQ(cache().size(), before + 1);
    for (int id = 100; id < 150; ++id) {
        conn.execute("INSERT INTO Item (ID, Name, Price) VALUES (" + std::to_string(id) + ", 'n" +
                     std::to_string(id) + "', " + std::to_string(id) + ".5)");
    }
    EXPECT_EQ(cache().size(), before + 2);
    EXPECT_EQ(select("SELECT Name FROM Item WHERE ID = 123"), Texts{"n123"});
    EXPECT_EQ(select("SELECT Price FROM Item WHERE ID = 149"), Texts{"149.5"});
}

TEST_F(StatementCacheTest, ChangesBindTheirValues) {
    conn.execute(
        "CREATE TABLE Log (ID AUTOINCREMENT PRIMARY KEY, Msg TEXT(20), Flag BIT, Amount DOUBLE)");
    EXPECT_EQ(conn.execute("INSERT INTO Log (ID, Msg, Flag, Amount) VALUES (10, 'a''b', -1, 1.5)"),
              1);
    EXPECT_EQ(conn.execute("INSERT INTO Log (ID, Msg, Flag, Amount) VALUES (20, NULL, 0, -2)"), 1);
    EXPECT_EQ(conn.execute("INSERT INTO Log (Msg, Flag, Amount) VALUES ('next', 0, 0)"), 1);
    EXPECT_EQ(select("SELECT ID FROM Log WHERE Msg = 'next'"), Texts{"21"})
        << "an explicit key moves the counter";
    EXPECT_EQ(select("SELECT Msg FROM Log WHERE Flag = -1"), Texts{"a'b"});
    EXPECT_EQ(select("SELECT ID FROM Log WHERE Msg Is Null"), Texts{"20"});
    EXPECT_EQ(conn.execute("UPDATE Log SET Amount = 7.25 WHERE ID = 10"), 1);
    EXPECT_EQ(conn.execute("UPDATE Log SET Amount = 9 WHERE ID = 20"), 1);
    EXPECT_EQ(conn.execute("UPDATE Log SET Amount = 1 WHERE ID = 99"), 0);
    EXPECT_EQ(select("SELECT Amount FROM Log ORDER BY ID", 0), (Texts{"7.25", "9", "0"}));
    EXPECT_EQ(conn.execute("DELETE * FROM Log WHERE ID = 20"), 1);
    EXPECT_EQ(conn.execute("DELETE * FROM Log WHERE ID = 20"), 0);
    // A text too long for the column is refused at run time, with any value.
    EXPECT_THROW(conn.execute("INSERT INTO Log (Msg) VALUES ('far longer than twenty chars')"),
                 EngineError);
    EXPECT_EQ(conn.execute("INSERT INTO Log (Msg) VALUES ('short')"), 1);
}

TEST_F(StatementCacheTest, EachChangeCommitsWithItsCounterOrNotAtAll) {
    conn.execute("CREATE TABLE Log (ID AUTOINCREMENT PRIMARY KEY, Code LONG)");
    conn.execute("CREATE UNIQUE INDEX ByCode ON Log (Code)");
    conn.execute("INSERT INTO Log (ID, Code) VALUES (5, 1)");
    EXPECT_THROW(conn.execute("INSERT INTO Log (ID, Code) VALUES (6, 1)"), EngineError);
    EXPECT_TRUE(sqlite3_get_autocommit(db())) << "a failed change leaves no transaction open";
    conn.execute("INSERT INTO Log (Code) VALUES (2)");
    std::string lastId = select("SELECT Max(ID) FROM Log").at(0);

    // No transaction is left open, so what the store holds now is committed:
    // the row and its counter together.
    EXPECT_TRUE(sqlite3_get_autocommit(db()));
    Stmt counter(db(), "SELECT last_auto FROM _orv_tables WHERE name = 'Log'");
    ASSERT_TRUE(counter.step());
    EXPECT_EQ(std::to_string(counter.getInt(0)), lastId);
    EXPECT_EQ(select("SELECT Count(*) FROM Log"), Texts{"2"});
}

TEST_F(StatementCacheTest, ChangesInsideATransactionRollBackTogether) {
    conn.beginTransaction();
    conn.execute("INSERT INTO Item (ID, Name) VALUES (10, 'x')");
    conn.execute("CREATE TABLE Gone (X LONG)");
    conn.execute("INSERT INTO Item (ID, Name) VALUES (11, 'y')");
    conn.rollbackTransaction();
    EXPECT_EQ(select("SELECT Count(*) FROM Item WHERE ID > 3"), Texts{"0"});
    // The catalog is read again: the table made inside is gone for Jet too.
    EXPECT_NE(errorOf("SELECT X FROM Gone").find("cannot find the input table or query 'Gone'"),
              std::string::npos);
}

TEST_F(StatementCacheTest, DefinitionsInvalidateCachedStatements) {
    EXPECT_EQ(select("SELECT * FROM Item WHERE ID = 1", 1), Texts{"Porte"});
    conn.execute("ALTER TABLE Item ADD COLUMN Extra TEXT(5)");
    conn.execute("UPDATE Item SET Extra = 'new' WHERE ID = 2");
    QueryDataset q(conn);
    q.setSql("SELECT * FROM Item WHERE ID = 2");
    q.open();
    EXPECT_EQ(q.fieldCount(), 6) << "the shape cached before ALTER must not answer";
    EXPECT_EQ(q.getText(q.fieldIndex("Extra")), "new");

    conn.execute("DROP TABLE Item");
    conn.execute("CREATE TABLE Item (ID TEXT(5), Label TEXT(10))");
    conn.execute("INSERT INTO Item VALUES ('1', 'again')");
    EXPECT_EQ(select("SELECT * FROM Item WHERE ID = '1'", 1), Texts{"again"});
    EXPECT_NE(errorOf("SELECT Name FROM Item WHERE ID = 1"), "");
}

}  // namespace
}  // namespace orvdb::engine
