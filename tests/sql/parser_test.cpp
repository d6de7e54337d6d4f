// Parsing of queries and data manipulation statements: structure of what is
// accepted, and Jet's wording for what is not.
#include "ast_text.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

namespace orvdb::engine::sql {
namespace {

using testing::errorOf;
using testing::exprText;

const SelectCore& firstCore(const Statement& st) {
    const Query* q = &std::get<SelectStatement>(st.body).query;
    while (q->isUnion()) {
        q = &q->parts[0];
    }
    return *q->select;
}

// The WHERE expression of "SELECT * FROM t WHERE <text>".
std::string whereOf(const std::string& text) {
    Statement st = parseStatement("SELECT * FROM t WHERE " + text);
    return exprText(*firstCore(st).where);
}

struct ExprCase {
    const char* text;
    const char* tree;
};

class ExpressionStructure : public ::testing::TestWithParam<ExprCase> {};

TEST_P(ExpressionStructure, FollowsVbaPrecedence) {
    EXPECT_EQ(whereOf(GetParam().text), GetParam().tree) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, ExpressionStructure,
    ::testing::Values(
        ExprCase{"a + b * c", "(+ a (* b c))"},
        // ^ binds tighter than unary minus: -2^2 is -4 in VBA.
        ExprCase{"-2^2", "(neg (^ 2 2))"}, ExprCase{"2^-1", "(^ 2 (neg 1))"},
        ExprCase{"2^3^2", "(^ (^ 2 3) 2)"},
        // * / above \ above Mod above + -.
        ExprCase{"a \\ b * c", "(\\ a (* b c))"}, ExprCase{"a Mod b \\ c", "(mod a (\\ b c))"},
        ExprCase{"a + b Mod c", "(+ a (mod b c))"},
        // & is below + and above comparisons.
        ExprCase{"a & b + c = d", "(= (& a (+ b c)) d)"}, ExprCase{"Not a = b", "(not (= a b))"},
        ExprCase{"Not a And b", "(and (not a) b)"}, ExprCase{"a Or b And c", "(or a (and b c))"},
        ExprCase{"a Xor b Or c", "(xor a (or b c))"},
        ExprCase{"a Imp b Eqv c", "(imp a (eqv b c))"},
        // A chain of one operator is one node, read left to right;
        // parentheses or another operator start a new one.
        ExprCase{"a - b - c", "(- a b c)"}, ExprCase{"a - (b - c)", "(- a (- b c))"},
        ExprCase{"a - b + c", "(-+ a b c)"}, ExprCase{"a - (b + c) - d", "(- a (+ b c) d)"},
        ExprCase{"a * b / c", "(/ (* a b) c)"},
        ExprCase{"a & b & c + d & e", "(& a b (+ c d) e)"}));

INSTANTIATE_TEST_SUITE_P(
    Predicates, ExpressionStructure,
    ::testing::Values(
        ExprCase{"x Between 1 And 5 And y = 2", "(and (between x 1 5) (= y 2))"},
        ExprCase{"x Not Between 1 And 5", "(notbetween x 1 5)"},
        ExprCase{"x Like 'a%' Or x Not Like \"b*\"", "(or (like x 'a%') (notlike x 'b*'))"},
        ExprCase{"x In (1, 2, 3)", "(in x 1 2 3)"},
        ExprCase{"NOT (RefGroup IN (SELECT ID FROM GroupArticle))", "(not (in RefGroup <select>))"},
        ExprCase{"x Not In (SELECT y FROM u)", "(notin x <select>)"},
        ExprCase{"x Is Null And y Is Not Null", "(and (isnull x) (isnotnull y))"},
        ExprCase{"Exists (SELECT * FROM u)", "(exists <select>)"},
        ExprCase{"x > All (SELECT y FROM u)", "(> all x <select>)"},
        ExprCase{"x = Some (SELECT y FROM u)", "(= any x <select>)"},
        ExprCase{"x = (SELECT Max(y) FROM u)", "(= x <select>)"}));

INSTANTIATE_TEST_SUITE_P(
    Operands, ExpressionStructure,
    ::testing::Values(ExprCase{"t.a = [b c]![d]", "(= t.a b c.d)"},
                      ExprCase{"[t].[Position] = `x`", "(= t.Position x)"},
                      // A reserved word is a fine member name after a dot.
                      ExprCase{"P2.Position = 1", "(= P2.Position 1)"},
                      ExprCase{"a = True Or b = No Or c = Off Or d = Yes",
                               "(or (= a TRUE) (= b FALSE) (= c FALSE) (= d TRUE))"},
                      ExprCase{"d = #3/5/2024#", "(= d #3/5/2024#)"},
                      ExprCase{"s = 'it''s' & \"x\"", "(= s (& 'it's' 'x'))"},
                      ExprCase{"IIf(a > 1, 'x', Null) = Mid(s, 2, 3)",
                               "(= IIf((> a 1) 'x' NULL) Mid(s 2 3))"},
                      ExprCase{"count (ID) > 0 OR len(x) = 2", "(or (> Count(ID) 0) (= Len(x) 2))"},
                      ExprCase{"Left(a, 2) = Right(b, 2)", "(= Left(a 2) Right(b 2))"},
                      ExprCase{"Now() > Date()", "(> Now() Date())"},
                      ExprCase{"x = Not y", "(= x (not y))"}, ExprCase{"((a))", "a"}));

TEST(Parser, KeepsTheOriginalTextAndTakesATrailingSemicolon) {
    const char* sql = "select * from t;";
    Statement st = parseStatement(sql);
    EXPECT_EQ(st.sql, sql);
    EXPECT_TRUE(st.isSelect());
    EXPECT_FALSE(st.isDefinition());
    EXPECT_NO_THROW(parseStatement("DELETE FROM t ;  "));
}

// What each statement form does is run in translate_behaviour_test.cpp.

TEST(Parser, StandaloneExpressions) {
    EXPECT_EQ(exprText(parseExpression("Now()")), "Now()");
    EXPECT_EQ(exprText(parseExpression("-1")), "(neg 1)");
    EXPECT_EQ(errorOf([] { parseExpression("1 2"); }),
              "Syntax error (missing operator) in query expression '1 2'.");
}

TEST(Parser, NestingHasALimitInsteadOfACrash) {
    auto nested = [](int depth) {
        return "SELECT * FROM t WHERE " + std::string(depth, '(') + "a = 1" +
               std::string(depth, ')');
    };
    EXPECT_NO_THROW(parseStatement(nested(100)));
    EXPECT_EQ(errorOf([&] { parseStatement(nested(100000)); }), "Query is too complex.");
    std::string minus = "SELECT " + std::string(100000, '-') + "1";
    EXPECT_EQ(errorOf([&] { parseStatement(minus); }), "Query is too complex.");
    // Operators that alternate nest one level each; one repeated, or + and
    // - mixed, do not.
    std::string alternating = "SELECT 1";
    std::string repeated = "SELECT 1";
    for (int term = 0; term < 50000; ++term) {
        alternating += term % 2 ? " * 1" : " / 1";
        repeated += term % 3 ? " - 1" : " + 1";
    }
    EXPECT_EQ(errorOf([&] { parseStatement(alternating); }), "Query is too complex.");
    EXPECT_NO_THROW(parseStatement(repeated));
}

struct ErrorCase {
    const char* sql;
    const char* message;
};

class ParserErrors : public ::testing::TestWithParam<ErrorCase> {};

const char* const kInvalidStatement =
    "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.";
const char* const kSelectWording =
    "The SELECT statement includes a reserved word or an argument name that is misspelled or "
    "missing, or the punctuation is incorrect.";

TEST_P(ParserErrors, UseJetWording) {
    EXPECT_EQ(errorOf([&] { parseStatement(GetParam().sql); }), GetParam().message)
        << GetParam().sql;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, ParserErrors,
    ::testing::Values(
        ErrorCase{"", kInvalidStatement},
        ErrorCase{"SET FOREIGN_KEY_CHECKS = 0", kInvalidStatement},
        ErrorCase{"TRUNCATE TABLE t", kInvalidStatement},
        ErrorCase{"SELECT 1; SELECT 2", "Characters found after end of SQL statement."},
        ErrorCase{"INSERT INTO t VALUES (1) x", "Missing semicolon (;) at end of SQL statement."},
        ErrorCase{"INSERT t VALUES (1)", "Syntax error in INSERT INTO statement."},
        ErrorCase{"INSERT INTO t (a, b VALUES (1)", "Syntax error in INSERT INTO statement."},
        ErrorCase{"UPDATE t a = 1", "Syntax error in UPDATE statement."},
        ErrorCase{"UPDATE t SET = 1", "Syntax error in UPDATE statement."},
        ErrorCase{"DELETE t WHERE a = 1", "Syntax error in FROM clause."}));

INSTANTIATE_TEST_SUITE_P(
    Queries, ParserErrors,
    ::testing::Values(
        ErrorCase{"SELECT", kSelectWording}, ErrorCase{"SELECT FROM t", kSelectWording},
        // Position is reserved in ANSI-92 mode; [Position] is how the suite writes it.
        ErrorCase{"SELECT Position FROM t", kSelectWording},
        ErrorCase{"SELECT * FROM", "Syntax error in FROM clause."},
        ErrorCase{"SELECT * FROM t u v", "Syntax error in FROM clause."},
        ErrorCase{"SELECT * FROM Position", "Syntax error in FROM clause."},
        ErrorCase{"SELECT * FROM a JOIN b ON a.x = b.x", "Syntax error in JOIN operation."},
        ErrorCase{"SELECT * FROM a INNER JOIN b", "Syntax error in JOIN operation."},
        // An alias needs AS in the select list.
        ErrorCase{"SELECT a b FROM t",
                  "Syntax error (missing operator) in query expression 'a b'."},
        ErrorCase{"SELECT * FROM t WHERE ID=5 AND",
                  "Syntax error (missing operator) in query expression 'ID=5 AND'."},
        ErrorCase{"SELECT * FROM t WHERE a = 1 b = 2 ORDER BY a",
                  "Syntax error (missing operator) in query expression 'a = 1 b = 2'."},
        ErrorCase{"SELECT * FROM t WHERE a = 1, b = 2",
                  "Syntax error (comma) in query expression 'a = 1'."},
        ErrorCase{"SELECT * FROM t WHERE (a = 1",
                  "Missing ), ], or Item in query expression '(a = 1'."},
        ErrorCase{"SELECT * FROM t WHERE x != 1",
                  "Syntax error (missing operator) in query expression 'x != 1'."},
        ErrorCase{"SELECT * FROM t WHERE", "Syntax error in WHERE clause."},
        ErrorCase{"SELECT * FROM t ORDER BY", "Syntax error in ORDER BY clause."},
        ErrorCase{"SELECT * FROM t GROUP a", "Syntax error in GROUP BY clause."},
        ErrorCase{"SELECT Count(DISTINCT a) FROM t",
                  "Syntax error (missing operator) in query expression 'Count(DISTINCT a)'."},
        ErrorCase{"SELECT Foo(a) FROM t", "Undefined function 'Foo' in expression."},
        ErrorCase{"SELECT Mid(a) FROM t",
                  "Wrong number of arguments used with function in query expression 'Mid(a)'."},
        ErrorCase{"SELECT Switch(a, 1, b) FROM t",
                  "Wrong number of arguments used with function in query expression "
                  "'Switch(a, 1, b)'."},
        ErrorCase{"SELECT a.b.c FROM t",
                  "Invalid use of '.', '!', or '()'. in query expression 'a.b.c'."},
        ErrorCase{"SELECT TOP 0 * FROM t", kSelectWording},
        ErrorCase{"SELECT a FROM t UNION", "Syntax error in union query."},
        ErrorCase{"SELECT * FROM t WHERE x IN (SELECT y INTO z FROM u)", kSelectWording}));

}  // namespace
}  // namespace orvdb::engine::sql
