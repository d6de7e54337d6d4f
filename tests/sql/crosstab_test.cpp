// Crosstab queries (TRANSFORM ... PIVOT): parsing, the columns the pivot
// makes, and the cells, run on an in-memory store (errors: translate_test).
#include "engine/messages.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

namespace orvdb::engine::sql {
namespace {

using Rows = std::vector<std::string>;
using Names = std::vector<std::string>;

TEST(CrosstabSyntax, ClausesLandInTheirPlaces) {
    Statement st = parseStatement(
        "PARAMETERS [Min] Long;\r\nTRANSFORM Sum(Amount) AS SumOfAmount\r\nSELECT Region\r\n"
        "FROM Sales\r\nWHERE Amount > [Min]\r\nGROUP BY Region\r\nORDER BY Region DESC\r\n"
        "PIVOT \"Q\" & Quarter In (\"Q1\",\"Q2\");");
    ASSERT_EQ(st.parameters.size(), 1u);
    const auto& select = std::get<SelectStatement>(st.body);
    ASSERT_TRUE(select.crosstab);
    const Crosstab& x = *select.crosstab;
    EXPECT_EQ(x.value.kind, ExprKind::Call);
    EXPECT_EQ(x.valueAlias, "SumOfAmount");
    EXPECT_EQ(x.pivot.kind, ExprKind::Binary);  // the whole concatenation, not an In
    EXPECT_TRUE(x.fixedColumns);
    ASSERT_EQ(x.columns.size(), 2u);
    EXPECT_EQ(x.columns[1].text, "Q2");
    ASSERT_TRUE(select.query.select);
    EXPECT_EQ(select.query.select->groupBy.size(), 1u);
    ASSERT_EQ(select.query.orderBy.size(), 1u);
    EXPECT_TRUE(select.query.orderBy[0].descending);
}

TEST(CrosstabSyntax, MalformedStatementsAreRefused) {
    for (const char* sql : {
             "TRANSFORM SELECT Region FROM Sales GROUP BY Region PIVOT Quarter",
             "TRANSFORM Count(*) FROM Sales PIVOT Quarter",
             "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region",
             "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT",
             "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter "
             "Not In ('Q1')",
             "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter "
             "In (SELECT Quarter FROM Sales)",
             "TRANSFORM Count(*) SELECT Region FROM Sales UNION SELECT Region FROM Sales "
             "PIVOT Quarter",
             "TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter; x",
         }) {
        std::string error = testing::errorOf([&] { parseStatement(sql); });
        EXPECT_FALSE(error.empty()) << sql;
    }
    EXPECT_EQ(testing::errorOf([] {
                  parseStatement("TRANSFORM Count(*) SELECT Region FROM Sales GROUP BY Region");
              }),
              msg::kTransformStatement);
    EXPECT_EQ(testing::errorOf([] {
                  parseStatement(
                      "TRANSFORM Count(*) SELECT Region INTO T FROM Sales "
                      "GROUP BY Region PIVOT Quarter");
              }),
              msg::kSelectStatement);
}

class CrosstabRun : public ::testing::Test {
protected:
    CrosstabRun() : schema_(testing::suiteSchema()), store_(schema_) {
        for (const char* row :
             {"('North', 'Q1', 2020, 10)", "('North', 'Q1', 2020, 5)", "('North', 'Q2', 2020, 7)",
              "('South', 'Q1', 2020, 3)", "('South', 'Q3', 2021, 4)", "('East', Null, 2021, 1)",
              "('East', 'Q3', 2021, Null)"}) {
            store_.exec(std::string("INSERT INTO Sales VALUES ") + row);
        }
    }

    Rows run(const std::string& sql) { return store_.run(sql); }
    Names columns(const std::string& sql) {
        Names names;
        for (const ResultColumn& c : store_.translateHere(sql).columns) {
            names.push_back(c.column.name);
        }
        return names;
    }

    testing::FakeSchema schema_;
    testing::TestStore store_;
};

TEST_F(CrosstabRun, PivotValuesBecomeColumnsInAscendingOrderNullFirst) {
    const std::string sql =
        "TRANSFORM Sum(Amount) AS s SELECT Region FROM Sales GROUP BY Region PIVOT Quarter";
    EXPECT_EQ(columns(sql), (Names{"Region", "<>", "Q1", "Q2", "Q3"}));
    // Rows in the order of their headings; a cell without rows is Null, one
    // whose rows hold only Nulls sums to Null as well.
    EXPECT_EQ(run(sql),
              (Rows{"East|1|NULL|NULL|NULL", "North|NULL|15|7|NULL", "South|NULL|3|NULL|4"}));
}

TEST_F(CrosstabRun, EmptyCellsAreNullEvenForCountButNzSeesThem) {
    EXPECT_EQ(run("TRANSFORM Count(Amount) SELECT Region FROM Sales WHERE Yr = 2020 "
                  "GROUP BY Region PIVOT Quarter"),
              (Rows{"North|2|1", "South|1|NULL"}));
    EXPECT_EQ(run("TRANSFORM Nz(Count(*), 0) SELECT Region FROM Sales WHERE Yr = 2020 "
                  "GROUP BY Region PIVOT Quarter"),
              (Rows{"North|2|1", "South|1|0"}));
    // Count of a cell whose only row holds Null: the cell exists, so 0.
    EXPECT_EQ(run("TRANSFORM Count(Amount) SELECT Region FROM Sales WHERE Region = 'East' "
                  "GROUP BY Region PIVOT Quarter"),
              (Rows{"East|1|0"}));
}

TEST_F(CrosstabRun, InListFixesColumnsAndTheirOrder) {
    const std::string sql =
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
        "PIVOT Quarter In ('Q3', 'q1', 'Q4')";
    EXPECT_EQ(columns(sql), (Names{"Region", "Q3", "q1", "Q4"}));
    EXPECT_EQ(run(sql), (Rows{"East|NULL|NULL|NULL", "North|NULL|15|NULL", "South|4|3|NULL"}));
    // A number pivot matches the text of its heading too.
    EXPECT_EQ(run("TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
                  "PIVOT Yr In ('2021', 2020)"),
              (Rows{"East|1|NULL", "North|NULL|22", "South|4|3"}));
}

TEST_F(CrosstabRun, RowHeadingsMayAggregateTheWholeRow) {
    EXPECT_EQ(run("TRANSFORM Sum(Amount) SELECT Region, Sum(Amount) AS Total, Count(*) AS n "
                  "FROM Sales WHERE Region <> 'East' GROUP BY Region PIVOT Yr"),
              (Rows{"North|22|3|22|NULL", "South|7|2|3|4"}));
}

TEST_F(CrosstabRun, OrderByOnThePivotOrdersColumnsOtherwiseRows) {
    const std::string sql =
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
        "ORDER BY Region DESC, [Quarter] DESC PIVOT Quarter";
    EXPECT_EQ(columns(sql), (Names{"Region", "Q3", "Q2", "Q1", "<>"}));
    EXPECT_EQ(run(sql),
              (Rows{"South|4|NULL|3|NULL", "North|NULL|7|15|NULL", "East|NULL|NULL|NULL|1"}));
}

TEST_F(CrosstabRun, WhereFiltersRowsAndColumnsHavingFiltersRows) {
    EXPECT_EQ(columns("TRANSFORM Sum(Amount) SELECT Region FROM Sales WHERE Yr = 2021 "
                      "GROUP BY Region PIVOT Quarter"),
              (Names{"Region", "<>", "Q3"}));
    EXPECT_EQ(run("TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
                  "HAVING Sum(Amount) > 5 PIVOT Yr"),
              (Rows{"North|22|NULL", "South|3|4"}));
}

TEST_F(CrosstabRun, HeadingsThatDifferOnlyInCaseShareAColumn) {
    store_.exec("INSERT INTO Sales VALUES ('West', 'q2', 2021, 100)");
    Names names = columns(
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
        "PIVOT Quarter");
    EXPECT_EQ(names.size(), 5u);
    Rows rows =
        run("TRANSFORM Sum(Amount) SELECT Region FROM Sales WHERE Region >= 'North' "
            "GROUP BY Region PIVOT Quarter");
    EXPECT_EQ(rows, (Rows{"North|15|7|NULL", "South|3|NULL|4", "West|NULL|100|NULL"}));
}

TEST_F(CrosstabRun, SavedCrosstabServesAsASource) {
    EXPECT_EQ(run("SELECT Region, Q1 FROM RegionQuarters WHERE Q1 > 3"), Rows{"North|15"});
}

TEST_F(CrosstabRun, ColumnsFromDataNeedAReaderAndAreMarked) {
    const std::string open =
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter";
    EXPECT_EQ(testing::errorOf([&] { translate(open, schema_); }), msg::kCrosstabNeedsData);
    EXPECT_TRUE(store_.translateHere(open).columnsFromData);
    EXPECT_TRUE(store_.translateHere("SELECT * FROM RegionQuarters").columnsFromData);
    Translation fixed = translate(
        "TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region "
        "PIVOT Quarter In ('Q1')",
        schema_);
    EXPECT_FALSE(fixed.columnsFromData);
}

}  // namespace
}  // namespace orvdb::engine::sql
