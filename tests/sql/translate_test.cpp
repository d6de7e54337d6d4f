// Translation to SQLite SQL: the statement's kind, target and dependencies,
// result metadata, Jet's errors for names and misuse, and what Access writes
// into saved queries (a leading PARAMETERS declaration, DELETE with a field
// list). What the emitted statements do is checked by running them
// (translate_behaviour_test).
#include "engine/messages.hpp"
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

// The only text still compared: without an alias of its own the inner table
// would take a name both tables have from the outer one, and SQLite would
// not say so.
TEST(Translate, SubqueryOverTheSameTableGetsItsOwnAlias) {
    std::string sql = tr("SELECT ID FROM Article WHERE RefGroup IN "
                         "(SELECT RefGroup FROM Article WHERE Article.ID <> 0)")
                          .sql;
    EXPECT_NE(sql.find("\"Article\" AS \"Article~2\""), std::string::npos) << sql;
}

TEST(Translate, KindTargetAndDependencies) {
    struct Case {
        const char* sql;
        StatementKind kind;
        std::string target;
        std::vector<std::string> dependencies = {};
    };
    const Case cases[] = {
        {"SELECT Name FROM [Language] WHERE id=3", StatementKind::Select, "", {"Language"}},
        // A saved query over a saved query depends on both and their table.
        {"SELECT * FROM Articles_Of_Get",
         StatementKind::Select,
         "",
         {"Articles_Of_Get", "Get_Articles", "Article"}},
        {"SELECT * INTO ArticleCopy FROM Article WHERE ID < 10", StatementKind::SelectInto,
         "ArticleCopy"},
        // Definitions are left to the catalog: nothing to run.
        {"CREATE TABLE x (a LONG)", StatementKind::Definition, ""},
        {"INSERT INTO [Language] (Name) VALUES ('a')", StatementKind::Insert, "Language"},
        {"UPDATE Article SET Reference = 'x'", StatementKind::Update, "Article"},
        {"DELETE Article.* FROM Article INNER JOIN GroupArticle ON Article.RefGroup = "
         "GroupArticle.ID",
         StatementKind::Delete, "Article"},
    };
    for (const Case& c : cases) {
        Translation t = tr(c.sql);
        EXPECT_EQ(t.kind, c.kind) << c.sql;
        EXPECT_EQ(t.targetTable, c.target) << c.sql;
        EXPECT_EQ(t.sql.empty(), c.kind == StatementKind::Definition) << c.sql;
        if (!c.dependencies.empty()) {
            EXPECT_EQ(t.dependencies, c.dependencies) << c.sql;
        }
    }
}

// One property (&ColumnDef::name, ::type) of each result column.
template <typename Value>
std::vector<Value> columnsOf(const Translation& t, Value ColumnDef::*property) {
    std::vector<Value> values;
    for (const ResultColumn& column : t.columns) {
        values.push_back(column.column.*property);
    }
    return values;
}

TEST(ResultColumns, NamesTypesAndSources) {
    using enum JetType;
    EXPECT_EQ(columnsOf(tr("SELECT * FROM GroupArticle"), &ColumnDef::name),
              (std::vector<std::string>{"ID", "Name"}));
    EXPECT_EQ(
        columnsOf(tr("SELECT T1.ID, T2.ID, T1.Reference, RefGroup + 1, Len(T1.Reference) AS "
                     "L, 2 * 3 FROM Article AS T1, GroupArticle AS T2"),
                  &ColumnDef::name),
        (std::vector<std::string>{"T1.ID", "T2.ID", "Reference", "Expr1000", "L", "Expr1001"}));

    Translation t = tr(
        "SELECT ID, Reference, Price, Created, Len(Reference), Now(), Reference = 'a', "
        "Count(*), Sum(RefGroup), Sum(Price), Max(Created), Mid(Reference, 2), IIf(Active, 1, 2), "
        "Null, @@IDENTITY FROM Article GROUP BY ID, Reference, Price, Created, Active");
    // A Long sums as Double, Currency stays Currency; IIf of two Longs is Long.
    std::vector<JetType> types = columnsOf(t, &ColumnDef::type);
    types.erase(types.begin() + 13);  // Null: the values decide (checked below)
    EXPECT_EQ(types, (std::vector<JetType>{Long, Text, Currency, DateTime, Long, DateTime, Boolean,
                                           Long, Double, Currency, DateTime, Text, Long, Long}));
    const auto& c = t.columns;
    EXPECT_TRUE(c[0].column.autoNumber);
    EXPECT_EQ(c[0].baseTable + "." + c[0].baseColumn, "Article.ID");
    EXPECT_EQ(c[1].column.size, 50);
    EXPECT_TRUE(c[4].baseTable.empty());
    EXPECT_EQ(c[11].column.size, 255);
    EXPECT_FALSE(c[13].typeKnown);

    // Through a saved query a column keeps its table, column, type and size.
    Translation view = tr("SELECT Ref FROM Get_Articles");
    ASSERT_EQ(view.columns.size(), 1u);
    EXPECT_EQ(view.columns[0].baseTable + "." + view.columns[0].baseColumn, "Article.Reference");
    EXPECT_EQ(view.columns[0].column.type, JetType::Text);
    EXPECT_EQ(view.columns[0].column.size, 50);

    Translation into = tr("SELECT * INTO ArticleCopy FROM Article WHERE ID < 10");
    ASSERT_EQ(into.columns.size(), 8u);
    EXPECT_TRUE(into.columns[0].column.autoNumber);  // a copied autonumber stays one
    EXPECT_EQ(into.columns[6].column.type, JetType::Decimal);
    EXPECT_EQ(into.columns[6].column.scale, 4);
    EXPECT_EQ(errorOf([] { tr("SELECT ID, ID INTO x FROM Article"); }),
              "Duplicate output destination 'ID'.");
}

struct ErrorCase {
    const char* sql;
    std::string message;
};

// Jet's wording for a name it cannot find, and for a query that does not
// aggregate a selected expression.
std::string notFound(const std::string& name) {
    return "The Microsoft Jet database engine cannot find the input table or query '" + name +
           "'.  Make sure it exists and that its name is spelled correctly.";
}
std::string noValue(const std::string& name) {
    return "No value given for one or more required parameters. (unknown name '" + name + "')";
}
std::string notAggregated(const std::string& name) {
    return "You tried to execute a query that does not include the specified expression '" + name +
           "' as part of an aggregate function.";
}

class TranslateErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TranslateErrors, UseJetWording) {
    EXPECT_EQ(errorOf([&] { tr(GetParam().sql); }), GetParam().message) << GetParam().sql;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateErrors,
    ::testing::Values(
        ErrorCase{"SELECT * FROM Nowhere", notFound("Nowhere")},
        ErrorCase{"SELECT [Position] FROM Article", noValue("Position")},
        ErrorCase{"SELECT Article.Nope FROM Article", noValue("Article.Nope")},
        ErrorCase{"SELECT ID FROM Article, GroupArticle",
                  "The specified field 'ID' could refer to more than one table listed in the FROM "
                  "clause of your SQL statement."},
        ErrorCase{"SELECT * FROM Article, Article",
                  "Can't repeat table name 'Article' in FROM clause."},
        ErrorCase{"SELECT x.* FROM Article", notFound("x")},
        ErrorCase{"SELECT * FROM LoopA", "Circular reference caused by 'LoopA'."},
        // Aggregates.
        ErrorCase{"SELECT Reference, Count(*) FROM Article", notAggregated("Reference")},
        ErrorCase{"SELECT Reference FROM Article GROUP BY RefGroup", notAggregated("Reference")},
        ErrorCase{"SELECT * FROM Article GROUP BY ID", "Cannot group on fields selected with '*'."},
        ErrorCase{"SELECT ID FROM Article WHERE Count(*) > 1",
                  "Cannot have aggregate function in WHERE clause (Count(*))."},
        ErrorCase{"SELECT Sum(Max(ID)) FROM Article",
                  "Cannot have aggregate function in expression (Max(ID))."},
        // Manipulation.
        ErrorCase{"INSERT INTO GroupArticle (Name) VALUES ('a', 'b')",
                  "Number of query values and destination fields are not the same."},
        ErrorCase{"INSERT INTO GroupArticle VALUES ('a')",
                  "Number of query values and destination fields are not the same."},
        ErrorCase{"INSERT INTO GroupArticle (Nom) VALUES ('a')",
                  "The INSERT INTO statement contains the following unknown field name: 'Nom'.  "
                  "Make sure you have typed the name correctly, and try the operation again."},
        ErrorCase{"INSERT INTO GroupArticle (Name, name) VALUES ('a', 'b')",
                  "Duplicate output destination 'name'."},
        ErrorCase{"INSERT INTO GroupArticle (Name) VALUES (Reference)", noValue("Reference")},
        ErrorCase{"INSERT INTO GroupArticle (Name) SELECT 'x'",
                  "Query input must contain at least one table or query."},
        ErrorCase{"INSERT INTO Get_Articles (Ref) VALUES ('x')",
                  "Operation must use an updateable query."},
        ErrorCase{"UPDATE GroupArticle SET ID = 5", "Cannot update 'ID'; field not updateable."},
        ErrorCase{"UPDATE GroupArticle SET Nom = 5", noValue("Nom")},
        ErrorCase{"UPDATE Article AS a, GroupArticle AS g SET a.Reference = 'x', g.Name = 'y'",
                  "Operation must use an updateable query."},
        ErrorCase{"DELETE FROM Article, GroupArticle",
                  "Specify the table containing the records you want to delete."},
        // Jet refuses to compare a number field with a text constant.
        ErrorCase{"SELECT * FROM Article WHERE ID = '5'",
                  "Data type mismatch in criteria expression."},
        ErrorCase{"SELECT ID FROM Article WHERE Created = #2024-13-45#",
                  "Syntax error in date in query expression '#2024-13-45#'."},
        ErrorCase{"SELECT * FROM Article WHERE RefGroup IN (1, 'x')",
                  "Data type mismatch in criteria expression."},
        ErrorCase{"SELECT * FROM Article WHERE ID IN (SELECT ID, Name FROM GroupArticle)",
                  "You have written a subquery that can return more than one field without using "
                  "the EXISTS reserved word in the main query's FROM clause. Revise the SELECT "
                  "statement of the subquery to request only one field."},
        ErrorCase{"SELECT a FROM (SELECT 1 AS a) UNION SELECT 1, 2",
                  "The number of columns in the two selected tables or queries of a union query "
                  "do not match."},
        // Crosstabs.
        ErrorCase{"TRANSFORM Amount SELECT Region FROM Sales GROUP BY Region PIVOT Yr In (2020)",
                  msg::notInAggregate("Amount")},
        ErrorCase{"TRANSFORM Sum(Amount) SELECT Region, Quarter FROM Sales GROUP BY Region "
                  "PIVOT Yr In (2020)",
                  msg::notInAggregate("Quarter")},
        ErrorCase{"TRANSFORM 1 SELECT Region FROM Sales GROUP BY Region PIVOT Yr In (2020)",
                  msg::kTransformStatement},
        ErrorCase{"TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region PIVOT Yr In (Yr)",
                  msg::kTransformStatement},
        ErrorCase{"TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region ORDER BY Quarter "
                  "PIVOT Quarter In ('Q1')",
                  msg::notInAggregate("Quarter")},
        ErrorCase{"TRANSFORM Sum(Amount) SELECT Region FROM Sales GROUP BY Region PIVOT Mon In (1)",
                  msg::unknownName("Mon")}));

struct DeclaredParameter {
    std::string name;
    JetType type;
    int size;
};

TEST(ParametersDeclaration, ListsNamesAndTypesBeforeAnyStatementKind) {
    const std::vector<DeclaredParameter> expected = {{"User Name", JetType::Text, 255},
                                                     {"Forms!Orders!Id", JetType::Long, 0},
                                                     {"Since", JetType::DateTime, 0},
                                                     {"Code", JetType::Text, 10}};
    const std::string declaration =
        "PARAMETERS [User Name] Text (255), [Forms]![Orders]![Id] Long, Since DateTime, "
        "[Code] Text(10);\n";
    const std::vector<std::pair<std::string, size_t>> statements = {
        {"SELECT ID FROM Article", 0},
        {"INSERT INTO GroupArticle (Name) VALUES ('x')", 1},
        {"UPDATE Article SET Price = 1", 2},
        {"DELETE FROM Article", 3},
    };
    for (const auto& [body, index] : statements) {
        Statement st = parseStatement(declaration + body);
        EXPECT_EQ(st.body.index(), index) << body;
        ASSERT_EQ(st.parameters.size(), expected.size()) << body;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(st.parameters[i].name, expected[i].name) << body;
            EXPECT_EQ(st.parameters[i].type.type, expected[i].type) << expected[i].name;
            if (expected[i].size) {
                EXPECT_EQ(st.parameters[i].type.size, expected[i].size) << expected[i].name;
            }
        }
    }
    EXPECT_TRUE(parseStatement("SELECT 1").parameters.empty());
}

TEST(ParametersDeclaration, ReferencesBecomeMissingValueCalls) {
    struct Case {
        std::string sql;
        std::string call;
    };
    const std::vector<Case> cases = {
        {"PARAMETERS [Who] Text; SELECT ID FROM Article WHERE Reference = [who]",
         "jet_missing_parameter('Who')"},
        {"PARAMETERS [Forms]![F]![Id] Long; SELECT ID FROM Article WHERE ID = [Forms]![F]![Id]",
         "jet_missing_parameter('Forms!F!Id')"},
        {"PARAMETERS [Forms]![F] Long; SELECT ID FROM Article WHERE ID = Forms!F",
         "jet_missing_parameter('Forms!F')"},
        // A declared name hides the field it spells, as in Access.
        {"PARAMETERS Reference Text; SELECT ID FROM Article WHERE Reference = 'x'",
         "jet_missing_parameter('Reference')"},
        {"PARAMETERS [It's] Long; UPDATE Article SET Price = [It's]",
         "jet_missing_parameter('It''s')"},
        {"PARAMETERS Since DateTime; DELETE FROM Article WHERE Created < Since",
         "jet_missing_parameter('Since')"},
    };
    for (const Case& c : cases) {
        Translation t;
        ASSERT_NO_THROW(t = tr(c.sql)) << c.sql;
        EXPECT_NE(t.sql.find(c.call), std::string::npos) << c.sql << "\n-> " << t.sql;
    }
    // Without the declaration the same names are unknown.
    EXPECT_EQ(errorOf([] { tr("SELECT ID FROM Article WHERE Reference = [Who]"); }),
              msg::unknownName("Who"));
    EXPECT_NE(errorOf([] {
                  tr("PARAMETERS [Forms]![F]![Id] Long; SELECT ID FROM Article WHERE ID = "
                     "[Forms]![G]![Id]");
              }).find("Invalid use of '.', '!', or '()'"),
              std::string::npos);
}

TEST(ParametersDeclaration, SavedParameterQueryKeepsItsDeclaration) {
    testing::FakeSchema schema = testing::suiteSchema();
    schema.view("ByReference",
                "PARAMETERS [Which] Text (50);\nSELECT ID FROM Article WHERE Reference = [Which]");
    Translation t = translate("SELECT * FROM ByReference", schema);
    EXPECT_NE(t.sql.find("jet_missing_parameter('Which')"), std::string::npos) << t.sql;
    EXPECT_EQ(t.parametersUsed, std::vector<std::string>{"Which"});
    // Declared but unused parameters ask for nothing; each used one is listed once.
    EXPECT_TRUE(
        translate("PARAMETERS a Long; SELECT ID FROM Article", schema).parametersUsed.empty());
    EXPECT_EQ(translate("PARAMETERS a Long, b Long; SELECT ID FROM Article WHERE ID = b OR ID = a "
                        "OR ID = B",
                        schema)
                  .parametersUsed,
              (std::vector<std::string>{"b", "a"}));
    // The outer statement does not see the saved query's parameters.
    EXPECT_EQ(errorOf([&] { translate("SELECT ID FROM ByReference WHERE ID = [Which]", schema); }),
              msg::unknownName("Which"));
}

TEST(DeleteFieldList, FieldsNameTheTableWhoseRecordsGo) {
    testing::FakeSchema schema = testing::suiteSchema();
    testing::TestStore store(schema);
    for (const char* name : {"'a'", "'b'", "'c'"}) {
        store.run(std::string("INSERT INTO GroupArticle (Name) VALUES (") + name + ")");
    }
    store.run("INSERT INTO Article (Reference, RefGroup) VALUES ('r1', 1)");
    Statement st = parseStatement(
        "DELETE GroupArticle.ID, [GroupArticle]![Name] FROM GroupArticle "
        "WHERE Name > 'a'");
    EXPECT_EQ(std::get<DeleteStatement>(st.body).target, "GroupArticle");
    store.run("DELETE GroupArticle.ID, GroupArticle.Name FROM GroupArticle WHERE Name > 'a'");
    EXPECT_EQ(store.run("SELECT Name FROM GroupArticle"), std::vector<std::string>{"a"});
    // In a join the fields pick the table to delete from.
    Translation t = translate(
        "DELETE Article.Reference FROM Article INNER JOIN GroupArticle ON "
        "Article.RefGroup = GroupArticle.ID",
        schema);
    EXPECT_EQ(t.targetTable, "Article");
}

}  // namespace
}  // namespace orvdb::engine::sql
