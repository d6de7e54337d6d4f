// Translation to SQLite SQL: the shape of the emitted text where the working
// store depends on it (quoted stored names, COLLATE JETTEXT for its indexes,
// jet_* calls), result metadata, and Jet's errors for names and misuse.
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

namespace orvdb::engine::sql {
namespace {

using testing::errorOf;
using testing::suiteSchema;

const testing::FakeSchema& schema() {
    static const testing::FakeSchema s = suiteSchema();
    return s;
}

Translation tr(const std::string& sql) {
    return translate(sql, schema());
}

bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

TEST(TranslateSelect, PointSelectUsesStoredNameAndCollatedComparison) {
    Translation t = tr("SELECT Name FROM [Language] WHERE id=3");
    EXPECT_EQ(t.kind, StatementKind::Select);
    EXPECT_EQ(t.sql,
              "SELECT \"Language\".\"Name\" AS \"Name\" FROM \"Language_store\" AS \"Language\" "
              "WHERE (\"Language\".\"ID\" = 3 COLLATE JETTEXT)");
    EXPECT_EQ(t.dependencies, std::vector<std::string>{"Language"});
}

TEST(TranslateSelect, StarExpandsInColumnOrder) {
    Translation t = tr("SELECT * FROM GroupArticle");
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[0].column.name, "ID");
    EXPECT_EQ(t.columns[1].column.name, "Name");
    EXPECT_EQ(t.sql,
              "SELECT \"GroupArticle\".\"ID\" AS \"ID\", \"GroupArticle\".\"Name\" AS \"Name\" "
              "FROM \"GroupArticle\" AS \"GroupArticle\"");
}

TEST(TranslateSelect, OrderAndGroupTermsAreCollated) {
    Translation t =
        tr("SELECT Name, Count(*) AS n FROM GroupArticle GROUP BY Name ORDER BY Name DESC");
    EXPECT_TRUE(contains(t.sql, "GROUP BY \"GroupArticle\".\"Name\" COLLATE JETTEXT"));
    EXPECT_TRUE(contains(t.sql, "ORDER BY \"GroupArticle\".\"Name\" COLLATE JETTEXT DESC"));
}

TEST(TranslateSelect, OperatorsBecomeJetFunctions) {
    Translation t =
        tr("SELECT Reference & 'x', RefGroup + 1, Reference + 'x', RefGroup / 2, RefGroup \\ 2, "
           "RefGroup Mod 2, RefGroup ^ 2, Reference Like 'a*', Not RefGroup FROM Article");
    EXPECT_TRUE(contains(t.sql, "jet_concat(\"Article\".\"Reference\", 'x')"));
    // Both sides known numbers: plain +.
    EXPECT_TRUE(contains(t.sql, "(\"Article\".\"RefGroup\" + 1)"));
    EXPECT_TRUE(contains(t.sql, "jet_add(\"Article\".\"Reference\", 'x')"));
    EXPECT_TRUE(contains(t.sql, "jet_div("));
    EXPECT_TRUE(contains(t.sql, "jet_intdiv("));
    EXPECT_TRUE(contains(t.sql, "jet_mod("));
    EXPECT_TRUE(contains(t.sql, "jet_pow("));
    EXPECT_TRUE(contains(t.sql, "jet_like(\"Article\".\"Reference\", 'a*')"));
    // Not on a number works bit by bit.
    EXPECT_TRUE(contains(t.sql, "(~\"Article\".\"RefGroup\")"));
}

TEST(TranslateSelect, DateLiteralIsARealDayCount) {
    Translation t = tr("SELECT ID FROM Article WHERE Created >= #2024-03-05 12:00:00#");
    // 2024-03-05 is day 45356 after 1899-12-30; noon adds half a day.
    EXPECT_TRUE(contains(t.sql, ">= 45356.5 COLLATE JETTEXT")) << t.sql;
    EXPECT_EQ(errorOf([] { tr("SELECT ID FROM Article WHERE Created = #2024-13-45#"); }),
              "Syntax error in date in query expression '#2024-13-45#'.");
}

TEST(TranslateSelect, ViewsAreInlinedUnderTheirName) {
    Translation t = tr("SELECT Ref FROM Get_Articles");
    EXPECT_TRUE(contains(t.sql, ") AS \"Get_Articles\"")) << t.sql;
    EXPECT_TRUE(contains(t.sql, "FROM \"Article\" AS \"Article\"")) << t.sql;
    ASSERT_EQ(t.columns.size(), 1u);
    EXPECT_EQ(t.columns[0].baseTable, "Article");
    EXPECT_EQ(t.columns[0].baseColumn, "Reference");
    EXPECT_EQ(t.columns[0].column.type, JetType::Text);
    EXPECT_EQ(t.columns[0].column.size, 50);
    // A saved query over a saved query depends on both and their table.
    Translation nested = tr("SELECT * FROM Articles_Of_Get");
    EXPECT_EQ(nested.dependencies,
              (std::vector<std::string>{"Articles_Of_Get", "Get_Articles", "Article"}));
}

TEST(TranslateSelect, SameTableInSubqueryGetsItsOwnAlias) {
    // The outer Article must stay reachable from inside the subquery.
    Translation t =
        tr("SELECT ID FROM Article WHERE RefGroup IN "
           "(SELECT RefGroup FROM Article WHERE Article.ID <> 0)");
    EXPECT_TRUE(contains(t.sql, "\"Article\" AS \"Article~2\"")) << t.sql;
}

TEST(ResultColumns, JetNames) {
    Translation t =
        tr("SELECT T1.ID, T2.ID, T1.Reference, RefGroup + 1, Len(T1.Reference) AS L, 2 * 3 "
           "FROM Article AS T1, GroupArticle AS T2");
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_EQ(t.columns[0].column.name, "T1.ID");
    EXPECT_EQ(t.columns[1].column.name, "T2.ID");
    EXPECT_EQ(t.columns[2].column.name, "Reference");
    EXPECT_EQ(t.columns[3].column.name, "Expr1000");
    EXPECT_EQ(t.columns[4].column.name, "L");
    EXPECT_EQ(t.columns[5].column.name, "Expr1001");
    // SQLite must report the same names.
    EXPECT_TRUE(contains(t.sql, "AS \"T1.ID\"")) << t.sql;
}

TEST(ResultColumns, TypesAndSources) {
    Translation t = tr(
        "SELECT ID, Reference, Price, Created, Len(Reference), Now(), Reference = 'a', "
        "Count(*), Sum(RefGroup), Sum(Price), Max(Created), Mid(Reference, 2), IIf(Active, 1, 2), "
        "Null, @@IDENTITY FROM Article GROUP BY ID, Reference, Price, Created, Active");
    ASSERT_EQ(t.columns.size(), 15u);
    const auto& c = t.columns;
    EXPECT_TRUE(c[0].column.autoNumber);
    EXPECT_EQ(c[0].column.type, JetType::Long);
    EXPECT_EQ(c[0].baseTable, "Article");
    EXPECT_EQ(c[0].baseColumn, "ID");
    EXPECT_EQ(c[1].column.size, 50);
    EXPECT_EQ(c[2].column.type, JetType::Currency);
    EXPECT_EQ(c[3].column.type, JetType::DateTime);
    EXPECT_EQ(c[4].column.type, JetType::Long);
    EXPECT_TRUE(c[4].baseTable.empty());
    EXPECT_EQ(c[5].column.type, JetType::DateTime);
    EXPECT_EQ(c[6].column.type, JetType::Boolean);
    EXPECT_EQ(c[7].column.type, JetType::Long);
    EXPECT_EQ(c[8].column.type, JetType::Double);    // a Long sums as Double
    EXPECT_EQ(c[9].column.type, JetType::Currency);  // Currency stays Currency
    EXPECT_EQ(c[10].column.type, JetType::DateTime);
    EXPECT_EQ(c[11].column.type, JetType::Text);
    EXPECT_EQ(c[11].column.size, 255);
    EXPECT_EQ(c[12].column.type, JetType::Long);  // both branches Long
    EXPECT_FALSE(c[13].typeKnown);                // Null: the values decide
    EXPECT_EQ(c[14].column.type, JetType::Long);
}

TEST(TranslateSelectInto, TargetAndColumnDefinitions) {
    Translation t = tr("SELECT * INTO ArticleCopy FROM Article WHERE ID < 10");
    EXPECT_EQ(t.kind, StatementKind::SelectInto);
    EXPECT_EQ(t.targetTable, "ArticleCopy");
    ASSERT_EQ(t.columns.size(), 8u);
    EXPECT_TRUE(t.columns[0].column.autoNumber);  // a copied autonumber stays one
    EXPECT_EQ(t.columns[6].column.type, JetType::Decimal);
    EXPECT_EQ(t.columns[6].column.scale, 4);
    EXPECT_EQ(errorOf([] { tr("SELECT ID, ID INTO x FROM Article"); }),
              "Duplicate output destination 'ID'.");
}

TEST(TranslateDefinitions, AreLeftToTheCatalog) {
    Translation t = tr("CREATE TABLE x (a LONG)");
    EXPECT_EQ(t.kind, StatementKind::Definition);
    EXPECT_TRUE(t.sql.empty());
}

TEST(TranslateInsert, CoercesEveryValueAndNumbersTheAutonumber) {
    Translation t = tr("INSERT INTO [Language] (Name, Français) VALUES ('a', 'b')");
    EXPECT_EQ(t.kind, StatementKind::Insert);
    EXPECT_EQ(t.targetTable, "Language");
    EXPECT_EQ(t.sql,
              "INSERT INTO \"Language_store\" (\"Name\", \"Français\", \"ID\") VALUES "
              "(jet_coerce('a', 10, 255, 'Language.Name'), "
              "jet_coerce('b', 10, 255, 'Language.Français'), "
              "jet_next_autonumber('Language_store'))");
}

TEST(TranslateInsert, ExplicitAutonumberIsNoted) {
    Translation t = tr("INSERT INTO GroupArticle (ID, Name) VALUES (7, 'x')");
    EXPECT_TRUE(contains(t.sql,
                         "jet_note_autonumber('GroupArticle', jet_coerce(7, 4, 0, "
                         "'GroupArticle.ID'))"))
        << t.sql;
    EXPECT_FALSE(contains(t.sql, "jet_next_autonumber"));
}

TEST(TranslateInsert, DecimalCarriesPrecisionAndScale) {
    Translation t = tr("INSERT INTO Article (Weight) VALUES (1.5)");
    EXPECT_TRUE(contains(t.sql, "jet_coerce(1.5, 16, 0, 'Article.Weight', 18, 4)")) << t.sql;
}

TEST(TranslateInsert, SelectSourceNumbersEachRow) {
    Translation t = tr("INSERT INTO GroupArticle (Name) SELECT Reference FROM Article");
    EXPECT_TRUE(contains(t.sql, ") SELECT jet_coerce(")) << t.sql;
    EXPECT_TRUE(contains(t.sql, "jet_next_autonumber('GroupArticle') FROM (SELECT")) << t.sql;
}

TEST(TranslateUpdate, SingleTable) {
    Translation t = tr("UPDATE Article SET Reference = 'x', RefGroup = NULL WHERE ID = 1");
    EXPECT_EQ(t.kind, StatementKind::Update);
    EXPECT_EQ(t.sql,
              "UPDATE \"Article\" AS \"Article\" SET \"Reference\" = jet_coerce('x', 10, 50, "
              "'Article.Reference'), \"RefGroup\" = jet_coerce(NULL, 4, 0, 'Article.RefGroup') "
              "WHERE (\"Article\".\"ID\" = 1 COLLATE JETTEXT)");
}

TEST(TranslateDelete, SingleAndJoined) {
    EXPECT_EQ(tr("DELETE * FROM GroupArticle WHERE Name = 'x'").sql,
              "DELETE FROM \"GroupArticle\" AS \"GroupArticle\" WHERE "
              "(\"GroupArticle\".\"Name\" = 'x' COLLATE JETTEXT)");
    Translation j =
        tr("DELETE Article.* FROM Article INNER JOIN GroupArticle ON Article.RefGroup = "
           "GroupArticle.ID WHERE GroupArticle.Name = 'old'");
    EXPECT_TRUE(contains(j.sql,
                         "DELETE FROM \"Article\" WHERE rowid IN (SELECT \"Article\".rowid "
                         "FROM \"Article\" AS \"Article\" INNER JOIN"))
        << j.sql;
    EXPECT_EQ(j.targetTable, "Article");
}

struct ErrorCase {
    const char* sql;
    const char* message;
};

class TranslateErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TranslateErrors, UseJetWording) {
    EXPECT_EQ(errorOf([&] { tr(GetParam().sql); }), GetParam().message) << GetParam().sql;
}

INSTANTIATE_TEST_SUITE_P(
    Names, TranslateErrors,
    ::testing::Values(
        ErrorCase{"SELECT * FROM Nowhere",
                  "The Microsoft Jet database engine cannot find the input table or query "
                  "'Nowhere'.  Make sure it exists and that its name is spelled correctly."},
        ErrorCase{"SELECT [Position] FROM Article",
                  "No value given for one or more required parameters. (unknown name 'Position')"},
        ErrorCase{"SELECT Article.Nope FROM Article",
                  "No value given for one or more required parameters. (unknown name "
                  "'Article.Nope')"},
        ErrorCase{"SELECT ID FROM Article, GroupArticle",
                  "The specified field 'ID' could refer to more than one table listed in the FROM "
                  "clause of your SQL statement."},
        ErrorCase{"SELECT * FROM Article, Article",
                  "Can't repeat table name 'Article' in FROM clause."},
        ErrorCase{"SELECT x.* FROM Article",
                  "The Microsoft Jet database engine cannot find the input table or query 'x'.  "
                  "Make sure it exists and that its name is spelled correctly."},
        ErrorCase{"SELECT * FROM LoopA", "Circular reference caused by 'LoopA'."}));

INSTANTIATE_TEST_SUITE_P(
    Aggregates, TranslateErrors,
    ::testing::Values(
        ErrorCase{"SELECT Reference, Count(*) FROM Article",
                  "You tried to execute a query that does not include the specified expression "
                  "'Reference' as part of an aggregate function."},
        ErrorCase{"SELECT Reference FROM Article GROUP BY RefGroup",
                  "You tried to execute a query that does not include the specified expression "
                  "'Reference' as part of an aggregate function."},
        ErrorCase{"SELECT * FROM Article GROUP BY ID", "Cannot group on fields selected with '*'."},
        ErrorCase{"SELECT ID FROM Article WHERE Count(*) > 1",
                  "Cannot have aggregate function in WHERE clause (Count(*))."},
        ErrorCase{"SELECT Sum(Max(ID)) FROM Article",
                  "Cannot have aggregate function in expression (Max(ID))."}));

INSTANTIATE_TEST_SUITE_P(
    Manipulation, TranslateErrors,
    ::testing::Values(
        ErrorCase{"INSERT INTO GroupArticle (Name) VALUES ('a', 'b')",
                  "Number of query values and destination fields are not the same."},
        ErrorCase{"INSERT INTO GroupArticle VALUES ('a')",
                  "Number of query values and destination fields are not the same."},
        ErrorCase{"INSERT INTO GroupArticle (Nom) VALUES ('a')",
                  "The INSERT INTO statement contains the following unknown field name: 'Nom'.  "
                  "Make sure you have typed the name correctly, and try the operation again."},
        ErrorCase{"INSERT INTO GroupArticle (Name, name) VALUES ('a', 'b')",
                  "Duplicate output destination 'name'."},
        ErrorCase{"INSERT INTO GroupArticle (Name) VALUES (Reference)",
                  "No value given for one or more required parameters. (unknown name "
                  "'Reference')"},
        ErrorCase{"INSERT INTO GroupArticle (Name) SELECT 'x'",
                  "Query input must contain at least one table or query."},
        ErrorCase{"INSERT INTO Get_Articles (Ref) VALUES ('x')",
                  "Operation must use an updateable query."},
        ErrorCase{"UPDATE GroupArticle SET ID = 5", "Cannot update 'ID'; field not updateable."},
        ErrorCase{"UPDATE GroupArticle SET Nom = 5",
                  "No value given for one or more required parameters. (unknown name 'Nom')"},
        ErrorCase{"UPDATE Article AS a, GroupArticle AS g SET a.Reference = 'x', g.Name = 'y'",
                  "Operation must use an updateable query."},
        ErrorCase{"DELETE FROM Article, GroupArticle",
                  "Specify the table containing the records you want to delete."},
        // Jet refuses to compare a number field with a text constant.
        ErrorCase{"SELECT * FROM Article WHERE ID = '5'",
                  "Data type mismatch in criteria expression."},
        ErrorCase{"SELECT * FROM Article WHERE RefGroup IN (1, 'x')",
                  "Data type mismatch in criteria expression."},
        ErrorCase{"SELECT * FROM Article WHERE ID IN (SELECT ID, Name FROM GroupArticle)",
                  "You have written a subquery that can return more than one field without using "
                  "the EXISTS reserved word in the main query's FROM clause. Revise the SELECT "
                  "statement of the subquery to request only one field."},
        ErrorCase{"SELECT a FROM (SELECT 1 AS a) UNION SELECT 1, 2",
                  "The number of columns in the two selected tables or queries of a union query "
                  "do not match."}));

}  // namespace
}  // namespace orvdb::engine::sql
