// Saved queries: Access SQL rebuilt from MSysQueries rows.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "jet/fixture_support.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/saved_queries.hpp"

namespace orvdb::jet {
namespace {

using testing::fixturePath;

QueryRow row(uint8_t attribute, std::optional<std::string> expression = std::nullopt,
             std::optional<std::string> name1 = std::nullopt,
             std::optional<std::string> name2 = std::nullopt,
             std::optional<int16_t> flag = std::nullopt) {
    QueryRow out;
    out.attribute = attribute;
    out.expression = std::move(expression);
    out.name1 = std::move(name1);
    out.name2 = std::move(name2);
    out.flag = flag;
    return out;
}

std::map<std::string, SavedQuery> queriesByName(const JetFile& file) {
    std::map<std::string, SavedQuery> result;
    for (SavedQuery& query : readSavedQueries(file)) {
        result[query.name] = std::move(query);
    }
    return result;
}

TEST(SavedQueries, EveryKindOfTheQueryFixture) {
    ORVDB_REQUIRE_FIXTURE("queryTestV2000.mdb");
    auto queries = queriesByName(JetFile::open(fixturePath("queryTestV2000.mdb")));
    struct Expected {
        QueryKind kind;
        std::string sql;
    };
    const std::map<std::string, Expected> expected = {
        {"SelectQuery",
         {QueryKind::Select,
          "SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\n"
          "FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN Table2 ON "
          "(Table3.col1 = Table2.col1) AND (Table3.col1 = Table2.col2)\r\n"
          "WHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\n"
          "ORDER BY Table2.col1;"}},
        {"DeleteQuery",
         {QueryKind::Delete,
          "DELETE Table1.col1, Table1.col2, Table1.col3\r\n"
          "FROM Table1\r\n"
          "WHERE (((Table1.col1)>\"blah\"));"}},
        {"AppendQuery",
         {QueryKind::Append,
          "INSERT INTO Table3 ( col2, col2, col3 )\r\n"
          "SELECT [Table1].[col2], [Table2].[col2], [Table2].[col3]\r\n"
          "FROM Table3, Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1];"}},
        {"UpdateQuery",
         {QueryKind::Update,
          "PARAMETERS [User Name] Text ( 255 );\r\n"
          "UPDATE Table1\r\n"
          "SET Table1.col1 = \"foo\", Table1.col2 = [Table2].[col3], [Table2].[col1] = [User "
          "Name]\r\n"
          "WHERE ((([Table2].[col1]) Is Not Null));"}},
        {"MakeTableQuery",
         {QueryKind::MakeTable,
          "SELECT Max(Table2.col1) AS MaxOfcol1, Table2.col2, Table3.col2 INTO Table4\r\n"
          "FROM (Table2 INNER JOIN Table1 ON Table2.col1 = Table1.col2) RIGHT JOIN Table3 ON "
          "Table1.col2 = Table3.col3\r\n"
          "GROUP BY Table2.col2, Table3.col2\r\n"
          "HAVING (((Max(Table2.col1))=\"buzz\") AND ((Table2.col2)<>\"blah\"));"}},
        {"CrosstabQuery",
         {QueryKind::Crosstab,
          "TRANSFORM Count([Table2].[col2]) AS CountOfcol2\r\n"
          "SELECT Table2_1.col1, [Table2].[col3], Avg(Table2_1.col2) AS AvgOfcol2\r\n"
          "FROM (Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1]) INNER JOIN Table2 "
          "AS Table2_1 ON [Table2].[col1]=Table2_1.col3\r\n"
          "WHERE ((([Table1].[col1])>\"10\") And ((Table2_1.col1) Is Not Null) And "
          "((Avg(Table2_1.col2))>\"10\"))\r\n"
          "GROUP BY Table2_1.col1, [Table2].[col3]\r\n"
          "ORDER BY [Table2].[col3]\r\n"
          "PIVOT [Table1].[col1];"}},
        {"UnionQuery",
         {QueryKind::Union,
          "Select Table1.col1, Table1.col2\r\nwhere Table1.col1 = \"foo\"\r\nUNION\r\n"
          "Select Table2.col1, Table2.col2\r\n"
          "UNION ALL Select Table3.col1, Table3.col2\r\nwhere Table3.col3 > \"blah\";"}},
        {"PassthroughQuery", {QueryKind::PassThrough, "ALTER TABLE Table4 DROP COLUMN col5;"}},
        {"DataDefinitionQuery",
         {QueryKind::DataDefinition, "CREATE TABLE Table5 (col1 CHAR, col2 CHAR);"}},
    };
    ASSERT_EQ(queries.size(), expected.size());
    for (const auto& [name, want] : expected) {
        SCOPED_TRACE(name);
        ASSERT_EQ(queries.count(name), 1u);
        const SavedQuery& query = queries[name];
        EXPECT_EQ(query.problem, "");
        EXPECT_EQ(query.kind, want.kind);
        // The union parts are stored with bare LF line ends.
        auto plainLines = [](std::string text) {
            for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) {
                text.replace(at, 2, "\n");
            }
            return text;
        };
        EXPECT_EQ(plainLines(query.sql), plainLines(want.sql));
    }
    EXPECT_EQ(queries["PassthroughQuery"].connect, "ODBC;");
}

// Every query of northwind rebuilds; those of a shape the others lack are checked whole.
TEST(SavedQueries, NorthwindQueriesRebuild) {
    ORVDB_REQUIRE_FIXTURE(testing::kNorthwind);
    JetFile file = JetFile::open(fixturePath(testing::kNorthwind));
    auto queries = queriesByName(file);
    size_t listed = 0;
    for (const CatalogObject& object : file.catalog().objects()) {
        listed += object.isQuery() ? 1 : 0;
    }
    EXPECT_EQ(queries.size(), listed);
    for (const auto& [name, query] : queries) {
        EXPECT_EQ(query.problem, "") << name;
        EXPECT_FALSE(query.sql.empty()) << name;
    }
    EXPECT_EQ(
        queries["Ten Most Expensive Products"].sql,
        "SELECT TOP 10 Products.ProductName AS TenMostExpensiveProducts, Products.UnitPrice\r\n"
        "FROM Products\r\n"
        "ORDER BY Products.UnitPrice DESC;");
    EXPECT_EQ(queries["Employee Sales by Country"].sql.rfind(
                  "PARAMETERS [Beginning Date] DateTime, [Ending Date] DateTime;\r\n"
                  "SELECT DISTINCTROW Employees.Country, ",
                  0),
              0u);
    const SavedQuery& crosstab = queries["Quarterly Orders by Product"];
    EXPECT_EQ(crosstab.kind, QueryKind::Crosstab);
    EXPECT_NE(
        crosstab.sql.find("\r\nPIVOT \"Qtr \" & DatePart(\"q\",[OrderDate],1,0) In (\"Qtr 1\","
                          "\"Qtr 2\",\"Qtr 3\",\"Qtr 4\");"),
        std::string::npos)
        << crosstab.sql;
    const SavedQuery& invoices = queries["Invoices"];
    EXPECT_NE(invoices.sql.find(
                  "FROM Shippers INNER JOIN (Products INNER JOIN ((Employees INNER JOIN "
                  "(Customers INNER JOIN Orders ON Customers.CustomerID=Orders.CustomerID) "
                  "ON Employees.EmployeeID=Orders.EmployeeID) INNER JOIN [Order Details] ON "
                  "Orders.OrderID=[Order Details].OrderID) ON Products.ProductID=[Order "
                  "Details].ProductID) ON Shippers.ShipperID=Orders.ShipVia;"),
              std::string::npos)
        << invoices.sql;
    EXPECT_EQ(queries["Customers and Suppliers by City"].kind, QueryKind::Union);
    EXPECT_TRUE(queries["~sq_fCustomers"].isInternal());
    EXPECT_TRUE(queries["Sales Totals by Amount"].isHidden());
}

// The text rebuilt from the rows, or (starting "error: ") part of the
// refusal of contradictory rows.
TEST(QueryText, OptionsAndClausesOrTheContradictionFound) {
    struct Case {
        const char* what;
        std::vector<QueryRow> rows;
        uint32_t objectFlags;
        std::string sql;  // or "error: ..."
    };
    const std::vector<Case> cases = {
        {"top percent with owner access",
         {row(1, {}, {}, {}, 1), row(3, {}, "25", {}, 0x10 | 0x20 | 0x04), row(5, {}, "Orders"),
          row(6, "Orders.OrderID")},
         0,
         "SELECT TOP 25 PERCENT Orders.OrderID\r\nFROM Orders\r\nWITH OWNERACCESS OPTION;"},
        {"distinctrow star with other columns",
         {row(3, {}, {}, {}, 0x08 | 0x01), row(5, {}, "T"), row(6, "T.a", "Alias Name")},
         0,
         "SELECT DISTINCTROW T.a AS [Alias Name], *\r\nFROM T;"},
        {"kind from object flags, no kind row",
         {row(5, {}, "T"), row(8, "(T.a>1)")},
         32,
         "DELETE *\r\nFROM T\r\nWHERE (T.a>1);"},
        {"append values",
         {row(1, {}, "Target", {}, 3), row(6, "1", {}, "a", static_cast<int16_t>(0x8000)),
          row(6, "\"x\"", {}, "b", static_cast<int16_t>(0x8000))},
         64,
         "INSERT INTO Target ( a, b )\r\nVALUES (1, \"x\");"},
        {"make-table into another database",
         {row(1, "dBASE IV;", "New Table", "C:\\data", 2), row(5, {}, "T"), row(6, "T.a")},
         80,
         "SELECT T.a INTO [New Table] IN 'C:\\data' [dBASE IV;]\r\nFROM T;"},
        {"remote source and table alias",
         {row(4, {}, "other.mdb"), row(5, {}, "Order Details", "od"), row(6, "od.x"),
          row(11, "od.x", "D")},
         0,
         "SELECT od.x\r\nFROM [Order Details] AS od IN 'other.mdb'\r\nORDER BY od.x DESC;"},
        {"parameters of several types",
         {row(2, {}, "Start Date", {}, 8), row(2, {}, "Count", {}, 4), row(2, {}, "Who", {}, 10)},
         0,
         "PARAMETERS [Start Date] DateTime, Count Long, Who Text ( 255 );\r\nSELECT *;"},
        {"crosstab: the pivot leaves GROUP BY, its IN list stays with it",
         {row(1, {}, {}, {}, 6), row(5, {}, "T"), row(6, "Sum(T.x)", "SumOfx", {}, 0),
          row(6, "T.r", {}, {}, 2), row(6, "T.p In (\"a\",\"b\")", {}, {}, 1),
          row(9, "T.r", {}, {}, 2), row(9, "T.p", {}, {}, 1), row(10, "(Sum(T.x)>1)"),
          row(11, "T.r", "D")},
         16,
         "TRANSFORM Sum(T.x) AS SumOfx\r\nSELECT T.r\r\nFROM T\r\nGROUP BY T.r\r\n"
         "HAVING (Sum(T.x)>1)\r\nORDER BY T.r DESC\r\nPIVOT T.p In (\"a\",\"b\");"},
        {"union all with ordering",
         {row(1, {}, {}, {}, 9), row(5, "SELECT a FROM T\r\n", {}, "X7YZ_____1"),
          row(5, "SELECT a FROM U", {}, "X7YZ_____2"), row(11, "a")},
         128,
         "SELECT a FROM T\r\nUNION ALL SELECT a FROM U\r\nORDER BY a;"},
        {"unknown kind", {row(1, {}, {}, {}, 42)}, 0, "error: unknown kind 42"},
        {"unknown object flags", {}, 0xF0, "error: unknown object flags"},
        {"join type 5",
         {row(5, {}, "A"), row(5, {}, "B"), row(7, "A.x=B.x", "A", "B", 5)},
         0,
         "error: unknown type 5"},
        {"same tables joined two ways",
         {row(5, {}, "A"), row(5, {}, "B"), row(7, "A.x=B.x", "A", "B", 1),
          row(7, "A.y=B.y", "A", "B", 2)},
         0,
         "error: two different ways"},
        {"union with one part",
         {row(1, {}, {}, {}, 9), row(5, "SELECT 1", {}, "X7YZ_____1")},
         128,
         "error: lacks one of its two parts"},
        {"crosstab without pivot", {row(1, {}, {}, {}, 6), row(6, "Count(*)")}, 16, "error: pivot"},
        {"parameter of unknown type",
         {row(2, {}, "P", {}, 99), row(5, {}, "T")},
         0,
         "error: type 99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.sql.rfind("error: ", 0) != 0) {
            EXPECT_EQ(buildQueryText(c.rows, c.objectFlags).sql, c.sql);
            continue;
        }
        try {
            buildQueryText(c.rows, c.objectFlags);
            ADD_FAILURE() << "no error";
        } catch (const QueryTextError& error) {
            EXPECT_NE(std::string(error.what()).find(c.sql.substr(7)), std::string::npos)
                << error.what();
        }
    }
}

}  // namespace
}  // namespace orvdb::jet
