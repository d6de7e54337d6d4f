#include "engine/messages.hpp"
#include "engine/sql/front_end.hpp"
#include "engine_test_support.hpp"
#include "jet/read/saved_queries.hpp"

#include <set>

namespace orvdb::engine {
namespace {

using testing::column;
using testing::jetFixture;

struct JetMirrorTest : testing::JetFixtureTest {
    // Mode=Read: these tests must never write the shared fixtures, whatever
    // their file permissions on the machine running them.
    std::unique_ptr<Connection> open(const std::string& name, const std::string& extra = "") {
        return testing::openFile(jetFixture(name), "Mode=Read;" + extra);
    }
};

TEST_F(JetMirrorTest, NorthwindAnswersSqlLikeANativeStore) {
    auto c = open("northwind.mdb");
    // The catalogue query the suite uses lists the same user tables.
    auto listed =
        column(*c, "SELECT Name FROM MSysObjects WHERE ParentId=251658241 AND Flags=0 AND Type=1");
    EXPECT_EQ(listed.size(), c->userTableNames().size());
    EXPECT_EQ(column(*c, "SELECT Count(*) FROM [Order Details]"), std::vector<std::string>{"2155"});
    EXPECT_EQ(column(*c, "SELECT ContactName FROM Customers WHERE CustomerID = 'alfki'"),
              std::vector<std::string>{"Maria Anders"});
    // A join over a relationship, grouped.
    auto top = column(*c,
                      "SELECT TOP 1 C.CompanyName FROM Customers AS C INNER JOIN Orders AS O ON "
                      "O.CustomerID = C.CustomerID GROUP BY C.CompanyName ORDER BY Count(*) DESC");
    EXPECT_EQ(top, std::vector<std::string>{"Save-a-lot Markets"});
    EXPECT_FALSE(c->store().catalog().relationships().empty());
    // Saved select queries run as views.
    int selects = 0;
    for (const auto* v : c->store().catalog().views()) {
        if (!v->returnsRows()) {
            continue;  // crosstabs included
        }
        ++selects;
        // Queries that ask for parameters or read an open form cannot run on
        // their own; in Jet they fail too.
        bool needsInput = v->sql.rfind("PARAMETERS", 0) == 0 ||
                          v->sql.find("Forms!") != std::string::npos ||
                          v->name == "Query1";  // adds text to numbers: a mismatch in Jet
        const std::string error =
            testing::errorOf([&] { column(*c, "SELECT * FROM [" + v->name + "]"); });
        EXPECT_EQ(error.empty(), !needsInput) << v->name << ": " << v->sql << ": " << error;
    }
    EXPECT_GT(selects, 10);
}

// (Rows through the engine are compared with the codec's by the export suite.)
TEST_F(JetMirrorTest, EveryFixtureOpensWithItsSavedQueries) {
    for (const test::JetFixtureFile& fixture : test::kJetFixtures) {
        SCOPED_TRACE(fixture.file);
        const std::filesystem::path path = jetFixture(fixture.file);
        const std::optional<std::string> password =
            fixture.password ? std::optional<std::string>(fixture.password) : std::nullopt;
        auto c = testing::openFile(
            path.string(),
            "Mode=Read;" + (password ? "Jet OLEDB:Database Password=" + *password + ";" : ""));
        jet::JetFile file = jet::JetFile::open(path, password);
        // The saved queries the open takes from the MSysQueries rows it
        // loads are those a reading of the table on its own rebuilds.
        std::multiset<std::string> expected, registered;
        for (const jet::SavedQuery& query : jet::readSavedQueries(file)) {
            if (!query.sql.empty() && !query.isInternal()) {
                expected.insert(query.name + " " + std::to_string(static_cast<int>(query.kind)) +
                                " " + query.sql);
            }
        }
        for (const ViewInfo* view : c->store().catalog().views()) {
            registered.insert(view->name + " " + std::to_string(static_cast<int>(view->kind)) +
                              " " + view->sql);
        }
        EXPECT_EQ(registered, expected);
    }
}

// Action queries are only translated: running them would change the fixture.
TEST_F(JetMirrorTest, SavedQueriesAreUsableSql) {
    auto c = open("queryTestV2000.mdb");
    auto translateError = [&](const std::string& sql) {
        return testing::errorOf([&] { sql::translate(sql, c->store().catalog()); });
    };
    // Which views the file gives the engine is checked for every fixture above.
    int checked = 0;
    for (const auto* v : c->store().catalog().views()) {
        ++checked;
        if (v->name == "SelectQuery") {
            EXPECT_NO_THROW(column(*c, "SELECT * FROM [" + v->name + "]")) << v->sql;
        } else if (v->name == "MakeTableQuery" || v->name == "DataDefinitionQuery" ||
                   v->name == "DeleteQuery") {
            EXPECT_EQ(translateError(v->sql), "") << v->name << ": " << v->sql;
        } else if (v->name == "AppendQuery") {
            // The file's append query names col2 twice as its destination: Jet refuses it.
            EXPECT_EQ(translateError(v->sql), msg::duplicateDestination("col2")) << v->sql;
        } else if (v->name == "UpdateQuery") {
            // Its PARAMETERS declaration parses, but the SET list writes [Table2], which the
            // query does not join: Jet asks for that name as a parameter value.
            EXPECT_EQ(translateError(v->sql), msg::unknownName("Table2.col1")) << v->sql;
        } else if (v->name == "UnionQuery") {
            // Its parts have no FROM clause, so Table1.col1 names nothing: to Jet a
            // parameter without a value.
            EXPECT_EQ(translateError(v->sql), msg::unknownName("Table1.col1")) << v->sql;
        } else if (v->name == "CrosstabQuery") {
            // The TRANSFORM text parses; its WHERE holds Avg(...), which Jet refuses
            // when the query runs.
            const std::string error = testing::errorOf([&] { c->query(v->sql); });
            EXPECT_EQ(error.rfind("Cannot have aggregate function in WHERE clause (", 0), 0u)
                << error;
        } else {
            --checked;
        }
    }
    EXPECT_EQ(checked, 8);
    // A parameter query translates; running it without values stops with Jet's error
    // naming the parameter, even when no row would reach the parameter.
    const std::string error = testing::errorOf([&] {
        column(
            *c,
            "PARAMETERS [Which One] Text (255); SELECT col1 FROM Table1 WHERE col1 = [Which One]");
    });
    EXPECT_NE(error.find("No value given for one or more required parameters"), std::string::npos)
        << error;
    EXPECT_NE(error.find("Which One"), std::string::npos) << error;
}

// A crosstab without an IN list takes its columns from the data as it is
// when the statement runs, also when the same text ran before.
struct CrosstabColumns : testing::StoreFixture {
    std::vector<std::string> columnsOf(const std::string& sql) {
        std::vector<std::string> names;
        for (const auto& f : conn.query(sql).fields) {
            names.push_back(f.name);
        }
        return names;
    }
};

TEST_F(CrosstabColumns, FollowTheDataBetweenRuns) {
    conn.execute("CREATE TABLE Sales (Region TEXT(20), Quarter TEXT(5), Amount LONG)");
    conn.execute("INSERT INTO Sales VALUES ('North', 'Q1', 10)");
    const std::string sql =
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales WHERE Amount > 5 GROUP BY Region "
        "PIVOT Quarter";
    EXPECT_EQ(columnsOf(sql), (std::vector<std::string>{"Region", "Q1"}));
    conn.execute("INSERT INTO Sales VALUES ('South', 'Q2', 7)");
    conn.execute("INSERT INTO Sales VALUES ('South', 'Q3', 1)");
    EXPECT_EQ(columnsOf(sql), (std::vector<std::string>{"Region", "Q1", "Q2"}));
    // Another literal in WHERE is another set of columns.
    EXPECT_EQ(columnsOf("TRANSFORM Sum(Amount) SELECT Region FROM Sales WHERE Amount > 0 "
                        "GROUP BY Region PIVOT Quarter"),
              (std::vector<std::string>{"Region", "Q1", "Q2", "Q3"}));
    // Without literals too (a statement cached under its whole text).
    const std::string plain =
        "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter";
    EXPECT_EQ(columnsOf(plain).size(), 4u);
    conn.execute("INSERT INTO Sales VALUES ('East', Null, 2)");
    EXPECT_EQ(columnsOf(plain), (std::vector<std::string>{"Region", "<>", "Q1", "Q2", "Q3"}));
    EXPECT_EQ(testing::rows(conn, sql), (std::vector<std::string>{"North|10|", "South||7"}));
}

}  // namespace
}  // namespace orvdb::engine
