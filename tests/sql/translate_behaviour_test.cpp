// Translated statements run on an in-memory store with the engine's
// functions: the rows must be the ones Jet would give, crosstabs included.
#include "engine/messages.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvdb::engine::sql {
namespace {

using Rows = std::vector<std::string>;

enum class Data { None, Articles, Scores };
// How a step's rows compare: as listed, in any order (Jet leaves ties
// unordered), by count only, or ignoring case (which of equal names is kept);
// or the step must fail.
enum class Compare { Exact, AnyOrder, Count, NoCase, Fails };

struct Step {
    std::string sql;
    Rows rows = {};  // none for statements that change data
    Compare compare = Compare::Exact;
};

struct Script {
    const char* name;
    Data data;
    std::vector<Step> steps;
};

void PrintTo(const Script& script, std::ostream* out) {
    *out << script.name;
}

const Script kScripts[] = {
    {"StoredNamesColumnOrderAndSavedQueries",
     Data::Articles,
     {{"INSERT INTO [Language] (Name, Français) VALUES ('a', 'b')"},
      {"SELECT ID, Name, Français, English FROM [Language] WHERE id=1", {"1|a|b|NULL"}},
      {"INSERT INTO [Language] (ID, Name) VALUES (7, 'c')"},
      {"INSERT INTO [Language] (Name) VALUES ('d')"},
      {"SELECT ID FROM [Language] WHERE Name = 'd'", {"8"}},
      {"SELECT * FROM GroupArticle WHERE ID < 3 ORDER BY ID", {"1|Profiles", "2|profiles"}},
      {"SELECT Name, Count(*) AS n FROM GroupArticle GROUP BY Name ORDER BY Name DESC",
       {"profiles|2", "glass|1"},
       Compare::NoCase},
      {"SELECT Ref FROM Get_Articles ORDER BY ID", {"b-100", "c-300", "e-500"}},
      {"SELECT Ref FROM Articles_Of_Get ORDER BY Ref DESC", {"e-500", "c-300", "b-100"}},
      {"SELECT ID FROM Article WHERE RefGroup IN "
       "(SELECT RefGroup FROM Article WHERE Article.ID = 2) ORDER BY ID",
       {"1", "2"}},
      // Inside, Article is the inner table and RefGroup the outer one's.
      {"SELECT ID FROM Article WHERE Exists (SELECT * FROM GroupArticle AS Article "
       "WHERE Article.ID = RefGroup AND Article.ID > 1) ORDER BY ID",
       {"3", "4"}},
      {"SELECT X.[T1.ID] FROM (SELECT T1.ID, T2.ID FROM Article AS T1, GroupArticle AS T2 "
       "WHERE T2.ID = 3) AS X ORDER BY 1 DESC",
       {"5", "4", "3", "2", "1"}}}},
    {"OperatorsOnColumns",
     Data::Articles,
     {{"SELECT Reference & 'x', RefGroup + 1, Reference + 'x', 5 / RefGroup, 7 \\ RefGroup, "
       "7 Mod RefGroup, RefGroup ^ 3, Reference Like 'c%', Not RefGroup FROM Article "
       "WHERE ID = 3",
       {"c-300x|3|c-300x|2.5|3|1|8.0|-1|-3"}}}},
    {"ValuesAreCoercedToTheColumnType",
     Data::None,
     {{"INSERT INTO Scores (Player, Points) VALUES (12, '42')"},
      // Stored as text and number: a store without column types compares them as stored.
      {"SELECT Count(*) FROM Scores WHERE Player = '12' AND Points = 42", {"1"}},
      // Text that does not fit the column is refused, on insert and update.
      {"INSERT INTO Scores (Player, Points) VALUES ('" + std::string(21, 'x') + "', 1)",
       {},
       Compare::Fails},
      {"UPDATE Scores SET Player = '" + std::string(21, 'x') + "'", {}, Compare::Fails},
      {"INSERT INTO Article (Weight, Reference) VALUES (1.23456, '" + std::string(50, 'r') + "')"},
      {"SELECT Weight, Len(Reference) FROM Article", {"1.2346|50"}},
      {"UPDATE Article SET Reference = '" + std::string(51, 'r') + "'", {}, Compare::Fails}}},
    {"AutonumbersAndIdentity",
     Data::None,
     {{"INSERT INTO GroupArticle (Name) VALUES ('x')"},
      {"INSERT INTO GroupArticle (Name) VALUES ('y')"},
      {"SELECT @@IDENTITY AS Id", {"2"}},
      // A given autonumber moves the counter on; Null means "number it".
      {"INSERT INTO GroupArticle (ID, Name) VALUES (10, 'z')"},
      {"INSERT INTO GroupArticle VALUES (Null, 'w')"},
      {"INSERT INTO GroupArticle (Name) VALUES ('v')"},
      {"SELECT ID, Name FROM GroupArticle WHERE ID > 2 ORDER BY ID", {"10|z", "11|w", "12|v"}}}},
    {"TruthValuesAreMinusOneAndLogicOnNumbersIsBitwise",
     Data::None,
     {{"SELECT 1=1, 1=2, Not (1=2), (1=1) And (2=2), 1 < 2 Or Null, IsNull(Null)",
       {"-1|0|-1|-1|-1|-1"}},
      {"SELECT (1=1) Xor (1=2), (1=1) Eqv (1=2), (1=2) Imp (1=1)", {"-1|0|-1"}},
      {"SELECT 5 And 3, 5 Or 3, 5 Xor 3, Not 1", {"1|7|6|-2"}},
      // & ignores Null, + propagates it.
      {"SELECT 'a' & Null & 'b', 'a' + Null, 1 + '2'", {"ab|NULL|3"}}}},
    {"TextComparesWithoutCaseButWithAccents",
     Data::Articles,
     {{"SELECT ID FROM Article WHERE Reference = 'B-100'", {"1"}},
      {"SELECT Reference FROM Article WHERE Reference < 'c' ORDER BY Reference",
       {"A-200", "b-100"}},
      {"SELECT Reference FROM Article WHERE Left(Reference, 1) IN ('E', 'X')", {"e-500"}},
      // Accents weigh less than the letters after them: "é-400" < "e-500".
      {"SELECT Reference FROM Article ORDER BY Reference DESC",
       {"e-500", "é-400", "c-300", "b-100", "A-200"}}}},
    {"BooleanColumnsInConditionsAndValues",
     Data::Articles,
     {{"SELECT Count(*) FROM Article WHERE Active", {"3"}},
      {"SELECT Count(*) FROM Article WHERE Not Active", {"2"}},
      {"SELECT Active FROM Article WHERE ID = 2", {"0"}},
      {"SELECT Count(*) FROM Article WHERE Active = True AND RefGroup = 1", {"1"}}}},
    {"BetweenAcceptsBoundsInEitherOrder",
     Data::Scores,
     {{"SELECT Player FROM Scores WHERE Points Between 25 And 15 ORDER BY Player", {"b", "c"}},
      {"SELECT Player FROM Scores WHERE Points Not Between 15 And 25 ORDER BY 1", {"a", "d"}}}},
    // Jet's TOP n with ORDER BY returns every row tied with the n-th, not
    // just LIMIT n.
    {"TopKeepsTiesAtTheBoundary",
     Data::Scores,
     {{"SELECT TOP 2 Player FROM Scores ORDER BY Points DESC, Player", {"d", "b"}},
      {"SELECT TOP 2 Player FROM Scores ORDER BY Points DESC", {"d", "b", "c"}, Compare::AnyOrder},
      {"SELECT TOP 1 Player FROM Scores", {"1"}, Compare::Count},
      // 50 percent of four rows is two, and the tie brings a third.
      {"SELECT TOP 50 PERCENT Player, Points FROM Scores ORDER BY Points, Player",
       {"a|10", "b|20"}},
      {"SELECT TOP 50 PERCENT Player, Points FROM Scores ORDER BY Points",
       {"a|10", "b|20", "c|20"},
       Compare::AnyOrder},
      {"SELECT TOP 25 PERCENT Player FROM Scores", {"1"}, Compare::Count}}},
    {"DistinctComparesAsJetAndDistinctRowKeepsOneRowPerRecord",
     Data::Articles,
     {{"SELECT Name FROM GroupArticle INNER JOIN Article ON GroupArticle.ID = Article.RefGroup",
       {"4"},
       Compare::Count},
      {"SELECT DISTINCT Name FROM GroupArticle INNER JOIN Article ON GroupArticle.ID = "
       "Article.RefGroup",
       {"1"},
       Compare::Count},
      {"SELECT DISTINCTROW Name FROM GroupArticle INNER JOIN Article ON GroupArticle.ID = "
       "Article.RefGroup ORDER BY GroupArticle.ID",
       {"Profiles", "profiles"}},
      {"SELECT DISTINCTROW Name FROM GroupArticle", {"3"}, Compare::Count}}},
    {"UnionsDeduplicateAndOrderByOutputNames",
     Data::Articles,
     {{"SELECT Name AS N FROM GroupArticle UNION SELECT 'GLASS' FROM GroupArticle ORDER BY N",
       {"glass", "profiles"},
       Compare::NoCase},
      {"SELECT Name FROM GroupArticle UNION ALL SELECT Name FROM GroupArticle",
       {"6"},
       Compare::Count},
      {"(SELECT TOP 1 Name FROM GroupArticle ORDER BY ID DESC) UNION ALL "
       "(SELECT Reference FROM Article WHERE ID = 1) ORDER BY 1",
       {"b-100", "Glass"}}}},
    {"JoinsInJetParentheses",
     Data::Articles,
     {{"INSERT INTO [Language] (Name, English) VALUES ('Profiles', 'Profiles EN')"},
      {"SELECT Article.ID, [Language].English FROM (Article INNER JOIN GroupArticle "
       "ON Article.RefGroup = GroupArticle.ID) LEFT JOIN [Language] ON "
       "GroupArticle.Name = [Language].Name ORDER BY Article.ID",
       {"1|Profiles EN", "2|Profiles EN", "3|Profiles EN", "4|Profiles EN"}},
      {"SELECT G.Name, A.Reference FROM Article A RIGHT JOIN GroupArticle G ON "
       "A.RefGroup = G.ID WHERE A.ID Is Null",
       {"Glass|NULL"}},
      {"SELECT G.Name, A.Reference FROM GroupArticle G LEFT JOIN Article A ON "
       "A.RefGroup = G.ID WHERE A.ID Is Null",
       {"Glass|NULL"}}}},
    {"SubqueriesAndQuantifiers",
     Data::Articles,
     {{"SELECT Name FROM GroupArticle WHERE ID Not In (SELECT RefGroup FROM Article "
       "WHERE RefGroup Is Not Null)",
       {"Glass"}},
      {"SELECT Name FROM GroupArticle G WHERE Exists (SELECT * FROM Article WHERE "
       "Article.RefGroup = G.ID AND Reference Like 'c%')",
       {"profiles"}},
      {"SELECT ID FROM GroupArticle WHERE ID >= All (SELECT ID FROM GroupArticle)", {"3"}},
      {"SELECT Count(*) FROM GroupArticle WHERE ID = Any (SELECT RefGroup FROM Article)", {"2"}},
      {"SELECT (SELECT Max(ID) FROM Article) - 1 AS m", {"4"}}}},
    {"TotalsAndHavingWithoutGroupBy",
     Data::Articles,
     {{"SELECT MAX(LEN(Reference)) AS Max1 FROM Article HAVING MAX(LEN(Reference))>3", {"5"}},
      {"SELECT MAX(LEN(Reference)) AS Max1 FROM Article HAVING MAX(LEN(Reference))>5"},
      {"SELECT RefGroup, Count(*) AS n FROM Article GROUP BY RefGroup "
       "HAVING Count(*) > 1 ORDER BY RefGroup",
       {"1|2", "2|2"}},
      {"SELECT First(Reference), Last(Reference) FROM Article", {"b-100|e-500"}},
      {"SELECT count (ID) As ZV_Count FROM GroupArticle Where Name='PROFILES'", {"2"}}}},
    {"FunctionsAndAliases",
     Data::Articles,
     {{"SELECT IIf(RefGroup Is Null, 'none', 'g' & RefGroup) AS g FROM Article "
       "WHERE ID > 3 ORDER BY ID",
       {"g2", "none"}},
      {"SELECT Switch(ID = 1, 'one', ID = 2, 'two') FROM Article WHERE ID < 4 ORDER BY ID",
       {"one", "two", "NULL"}},
      // Jet lets WHERE use an output alias.
      {"SELECT ID * 10 AS Tens FROM Article WHERE Tens > 30 ORDER BY Tens DESC", {"50", "40"}}}},
    {"DateLiteralsInTheFormsJetAccepts",
     Data::None,
     {{"INSERT INTO Article (Reference, Created) VALUES ('d', #2024-03-05 14.07.09#)"},
      {"SELECT Reference FROM Article WHERE Created = #3/5/2024 2:07:09 PM#", {"d"}},
      {"SELECT Year(Created), Month(Created), Day(Created) FROM Article", {"2024|3|5"}},
      {"SELECT Count(*) FROM Article WHERE Created Between #2024-03-06# And #2024-03-05#", {"1"}},
      {"SELECT Count(*) FROM Article WHERE Created >= #2024-03-05 12:00:00#", {"1"}},
      {"SELECT Count(*) FROM Article WHERE Created >= #2024-03-05 14:07:10#", {"0"}}}},
    {"UpdatesThroughJoinsAndCommaLists",
     Data::Articles,
     {{"UPDATE Article INNER JOIN GroupArticle ON Article.RefGroup = GroupArticle.ID "
       "SET Article.Reference = GroupArticle.Name & '-' & Article.ID WHERE GroupArticle.ID = 2"},
      {"SELECT Reference FROM Article WHERE RefGroup = 2 ORDER BY ID",
       {"profiles-3", "profiles-4"}},
      {"UPDATE Article AS T1, GroupArticle AS T2 SET T1.Reference=T2.Name "
       "WHERE T1.RefGroup=T2.ID AND T2.ID = 1"},
      {"SELECT Reference FROM Article WHERE RefGroup = 1 ORDER BY ID", {"Profiles", "Profiles"}},
      // A LEFT JOIN updates the rows without a match too.
      {"UPDATE Article LEFT JOIN GroupArticle ON Article.RefGroup = GroupArticle.ID "
       "SET Article.Notes = GroupArticle.Name"},
      {"SELECT Count(*) FROM Article WHERE Notes Is Null", {"1"}},
      {"UPDATE Article SET RefGroup = RefGroup + 10 WHERE RefGroup Is Not Null"},
      {"SELECT Sum(RefGroup) FROM Article", {"46"}}}},
    {"DeletesThroughJoins",
     Data::Articles,
     {{"DELETE Article.* FROM Article INNER JOIN GroupArticle ON Article.RefGroup = "
       "GroupArticle.ID WHERE GroupArticle.Name = 'PROFILES' AND GroupArticle.ID = 2"},
      {"SELECT Count(*) FROM Article", {"3"}},
      {"DELETE * FROM Article WHERE RefGroup Is Null"},
      {"SELECT Count(*) FROM Article", {"2"}},
      {"DELETE FROM Article"},
      {"SELECT Count(*) FROM Article", {"0"}}}},
    {"InsertSelectMatchesColumnsByName",
     Data::Scores,
     {{"INSERT INTO Scores SELECT Points AS Points, Player AS Player FROM Scores "
       "WHERE Points = 30"},
      {"SELECT Player, Points FROM Scores WHERE Player = 'd'", {"d|30", "d|30"}},
      {"INSERT INTO GroupArticle (Name) SELECT Player FROM Scores WHERE Points = 20"},
      {"SELECT ID, Name FROM GroupArticle ORDER BY ID", {"1|b", "2|c"}}}},
};

Rows compared(Rows rows, Compare compare) {
    if (compare == Compare::AnyOrder) {
        std::sort(rows.begin(), rows.end());
    }
    if (compare == Compare::NoCase) {
        for (std::string& row : rows) {
            std::transform(row.begin(), row.end(), row.begin(),
                           [](unsigned char c) { return std::tolower(c); });
        }
    }
    return rows;
}

class Behaviour : public ::testing::TestWithParam<Script> {
protected:
    Behaviour() : schema_(testing::suiteSchema()), store_(schema_) {}

    testing::FakeSchema schema_;
    testing::TestStore store_;
};

TEST_P(Behaviour, GivesJetsRows) {
    std::vector<std::string> fill;
    if (GetParam().data == Data::Articles) {
        fill = {"INSERT INTO GroupArticle (Name) VALUES ('Profiles')",  // ID 1
                "INSERT INTO GroupArticle (Name) VALUES ('profiles')",  // ID 2: the same to Jet
                "INSERT INTO GroupArticle (Name) VALUES ('Glass')",     // ID 3, no articles
                "INSERT INTO Article (Reference, RefGroup, Active) VALUES ('b-100', 1, True)",
                "INSERT INTO Article (Reference, RefGroup, Active) VALUES ('A-200', 1, False)",
                "INSERT INTO Article (Reference, RefGroup, Active) VALUES ('c-300', 2, Yes)",
                "INSERT INTO Article (Reference, RefGroup, Active) VALUES ('é-400', 2, No)",
                "INSERT INTO Article (Reference, RefGroup, Active) VALUES ('e-500', Null, True)"};
    } else if (GetParam().data == Data::Scores) {
        for (auto row : {"('a', 10)", "('b', 20)", "('c', 20)", "('d', 30)"}) {
            fill.push_back(std::string("INSERT INTO Scores (Player, Points) VALUES ") + row);
        }
    }
    for (const std::string& sql : fill) {
        store_.run(sql);
    }
    for (const Step& step : GetParam().steps) {
        if (step.compare == Compare::Fails) {
            EXPECT_ANY_THROW(store_.run(step.sql)) << step.sql;
            continue;
        }
        Rows rows = store_.run(step.sql);
        if (step.compare == Compare::Count) {
            rows = {std::to_string(rows.size())};
        }
        EXPECT_EQ(compared(rows, step.compare), compared(step.rows, step.compare)) << step.sql;
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, Behaviour, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

// Crosstab queries (TRANSFORM ... PIVOT): parsing, the columns the pivot
// makes, and the cells (errors: translate_test).
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
    EXPECT_EQ(
        columns("TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region PIVOT Quarter")
            .size(),
        5u);
    EXPECT_EQ(run("TRANSFORM Sum(Amount) SELECT Region FROM Sales WHERE Region >= 'North' "
                  "GROUP BY Region PIVOT Quarter"),
              (Rows{"North|15|7|NULL", "South|3|NULL|4", "West|NULL|100|NULL"}));
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
