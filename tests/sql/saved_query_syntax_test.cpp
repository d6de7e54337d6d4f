// Constructs Access writes into saved queries: a leading PARAMETERS
// declaration and DELETE with a field list (crosstabs: crosstab_test.cpp;
// the malformed ones: parser_test.cpp).
#include "engine/messages.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

namespace orvdb::engine::sql {
namespace {

using testing::errorOf;

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
            EXPECT_EQ(st.parameters[i].name, expected[i].name);
            EXPECT_EQ(st.parameters[i].type.type, expected[i].type) << expected[i].name;
            if (expected[i].size) {
                EXPECT_EQ(st.parameters[i].type.size, expected[i].size) << expected[i].name;
            }
        }
    }
    EXPECT_TRUE(parseStatement("SELECT 1").parameters.empty());
}

TEST(ParametersDeclaration, ReferencesBecomeMissingValueCalls) {
    const testing::FakeSchema schema = testing::suiteSchema();
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
        ASSERT_NO_THROW(t = translate(c.sql, schema)) << c.sql;
        EXPECT_NE(t.sql.find(c.call), std::string::npos) << c.sql << "\n-> " << t.sql;
    }
    // Without the declaration the same names are unknown.
    EXPECT_EQ(errorOf([&] { translate("SELECT ID FROM Article WHERE Reference = [Who]", schema); }),
              msg::unknownName("Who"));
    EXPECT_NE(errorOf([&] {
                  translate(
                      "PARAMETERS [Forms]![F]![Id] Long; SELECT ID FROM Article WHERE ID = "
                      "[Forms]![G]![Id]",
                      schema);
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
