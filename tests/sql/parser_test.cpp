// Parsing of statements: the structure of what is accepted (expressions,
// column types, definitions), and Jet's wording for what is not.
#include "engine/messages.hpp"
#include "engine/sql/parse/ast.hpp"
#include "engine/sql/parse/lexer.hpp"
#include "engine/sql/translate/type_words.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace orvdb::engine::sql {
namespace {

using testing::errorOf;

// "W:word S:sym ..." for the tokens of sql.
std::string describe(std::string_view sql) {
    std::string out;
    for (const Token& t : tokenize(sql)) {
        if (!out.empty()) {
            out += ' ';
        }
        static const std::map<TokenKind, std::string> prefixes = {
            {TokenKind::Word, "W:"},   {TokenKind::QuotedName, "N:"}, {TokenKind::Integer, "I:"},
            {TokenKind::Number, "R:"}, {TokenKind::String, "T:"},     {TokenKind::Date, "D:"},
            {TokenKind::Symbol, "S:"}, {TokenKind::End, "END"}};
        out += prefixes.at(t.kind) + (t.kind == TokenKind::End ? "" : std::string(t.text));
    }
    return out;
}

struct LexCase {
    const char* sql;
    const char* tokens;
};

class LexerTokens : public ::testing::TestWithParam<LexCase> {};

TEST_P(LexerTokens, SplitsAsJetDoes) {
    EXPECT_EQ(describe(GetParam().sql), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LexerTokens,
    ::testing::Values(
        // Unicode letters belong to names.
        LexCase{"SELECT Français, Русский FROM t",
                "W:SELECT W:Français S:, W:Русский W:FROM W:t END"},
        // Brackets take any character but ], backquotes likewise.
        LexCase{"[Name With Spaces!]", "N:Name With Spaces! END"},
        LexCase{"`a.b`.[c]", "N:a.b S:. N:c END"},
        // Both quote kinds delimit text; doubled quotes stay doubled in the raw token.
        LexCase{"'O''Malley' \"say \"\"hi\"\"\"", "T:O''Malley T:say \"\"hi\"\" END"},
        LexCase{"#2024-03-05 14.07.09#", "D:2024-03-05 14.07.09 END"},
        LexCase{"1 2.5 .5 1e3 1.5E-2 3e", "I:1 R:2.5 R:.5 R:1e3 R:1.5E-2 I:3 W:e END"},
        LexCase{"a<>b<=c>=d<e>f=g", "W:a S:<> W:b S:<= W:c S:>= W:d S:< W:e S:> W:f S:= W:g END"},
        LexCase{"a\\b^c&d!e", "W:a S:\\ W:b S:^ W:c S:& W:d S:! W:e END"},
        LexCase{"SELECT @@IDENTITY", "W:SELECT W:@@IDENTITY END"},
        // Jet has no comments: -- is two minus signs.
        LexCase{"a -- b", "W:a S:- S:- W:b END"}, LexCase{"t.ID;", "W:t S:. W:ID S:; END"},
        LexCase{"x_1 _y", "W:x_1 W:_y END"}));

// Strings unquote doubled quotes of their own kind only; keywords compare
// without case; offsets point into the text.
TEST(Lexer, TokensUnquoteCompareAndPointIntoTheText) {
    EXPECT_EQ(unquoteString(tokenize("'it''s \"x\"'")[0]), "it's \"x\"");
    EXPECT_EQ(unquoteString(tokenize("\"a\"\"b''c\"")[0]), "a\"b''c");
    EXPECT_TRUE(tokenize("sElEcT")[0].isWord("SELECT"));
    EXPECT_FALSE(tokenize("sElEcT")[0].isWord("SELECTS"));
    std::string sql = "SELECT  [a b] FROM t";
    auto tokens = tokenize(sql);
    EXPECT_EQ(sql.substr(tokens[1].begin, tokens[1].end - tokens[1].begin), "[a b]");
    EXPECT_EQ(tokens.back().begin, sql.size());
}

// Parsed expressions as S-expressions, so tests can state the structure the
// parser must build: "a + b * c" is "(+ a (* b c))".
std::string binaryOpText(BinaryOp op) {
    static const std::map<BinaryOp, std::string> names = {
        {BinaryOp::Power, "^"},      {BinaryOp::Multiply, "*"},      {BinaryOp::Divide, "/"},
        {BinaryOp::IntDivide, "\\"}, {BinaryOp::Mod, "mod"},         {BinaryOp::Add, "+"},
        {BinaryOp::Subtract, "-"},   {BinaryOp::Concat, "&"},        {BinaryOp::Equal, "="},
        {BinaryOp::NotEqual, "<>"},  {BinaryOp::Less, "<"},          {BinaryOp::Greater, ">"},
        {BinaryOp::LessEqual, "<="}, {BinaryOp::GreaterEqual, ">="}, {BinaryOp::And, "and"},
        {BinaryOp::Or, "or"},        {BinaryOp::Xor, "xor"},         {BinaryOp::Eqv, "eqv"},
        {BinaryOp::Imp, "imp"}};
    return names.at(op);
}

std::string exprText(const Expr& e) {
    auto args = [&](size_t from) {
        std::string s;
        for (size_t i = from; i < e.args.size(); ++i) {
            s += " " + exprText(e.args[i]);
        }
        return s;
    };
    switch (e.kind) {
        case ExprKind::Null:
            return "NULL";
        case ExprKind::Integer:
            return std::to_string(e.integer);
        case ExprKind::Number:
            return e.text;
        case ExprKind::Text:
            return "'" + e.text + "'";
        case ExprKind::Date:
            return "#" + e.text + "#";
        case ExprKind::Boolean:
            return e.integer ? "TRUE" : "FALSE";
        case ExprKind::Column:
            return e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        case ExprKind::Identity:
            return "@@IDENTITY";
        case ExprKind::Star:
            return "*";
        case ExprKind::Unary:
            return std::string("(") +
                   (e.unaryOp == UnaryOp::Negate ? "neg"
                    : e.unaryOp == UnaryOp::Not  ? "not"
                                                 : "pos") +
                   args(0) + ")";
        case ExprKind::Binary: {
            // A chain of + and - shows its operators in order: (+- a b c).
            std::string ops = e.steps.empty() ? binaryOpText(e.binaryOp) : "";
            for (BinaryOp step : e.steps) {
                ops += binaryOpText(step);
            }
            return "(" + ops + args(0) + ")";
        }
        case ExprKind::Like:
            return std::string(e.negated ? "(notlike" : "(like") + args(0) + ")";
        case ExprKind::Between:
            return std::string(e.negated ? "(notbetween" : "(between") + args(0) + ")";
        case ExprKind::InList:
            return std::string(e.negated ? "(notin" : "(in") + args(0) + ")";
        case ExprKind::InQuery:
            return std::string(e.negated ? "(notin" : "(in") + args(0) + " <select>)";
        case ExprKind::IsNull:
            return std::string(e.negated ? "(isnotnull" : "(isnull") + args(0) + ")";
        case ExprKind::Exists:
            return "(exists <select>)";
        case ExprKind::Quantified:
            return "(" + binaryOpText(e.binaryOp) + (e.all ? " all" : " any") + args(0) +
                   " <select>)";
        case ExprKind::Subquery:
            return "<select>";
        case ExprKind::Call: {
            std::string s = e.text + "(";
            for (size_t i = 0; i < e.args.size(); ++i) {
                s += (i ? " " : "") + exprText(e.args[i]);
            }
            return s + ")";
        }
    }
    return "?";
}

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
    Expressions, ExpressionStructure,
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
        ExprCase{"a * b / c", "(/ (* a b) c)"}, ExprCase{"a & b & c + d & e", "(& a b (+ c d) e)"},
        // Predicates.
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
        ExprCase{"x = (SELECT Max(y) FROM u)", "(= x <select>)"},
        // Operands.
        ExprCase{"t.a = [b c]![d]", "(= t.a b c.d)"},
        ExprCase{"[t].[Position] = `x`", "(= t.Position x)"},
        // A reserved word is a fine member name after a dot.
        ExprCase{"P2.Position = 1", "(= P2.Position 1)"},
        ExprCase{"a = True Or b = No Or c = Off Or d = Yes",
                 "(or (= a TRUE) (= b FALSE) (= c FALSE) (= d TRUE))"},
        ExprCase{"d = #3/5/2024#", "(= d #3/5/2024#)"},
        ExprCase{"s = 'it''s' & \"x\"", "(= s (& 'it's' 'x'))"},
        ExprCase{"IIf(a > 1, 'x', Null) = Mid(s, 2, 3)", "(= IIf((> a 1) 'x' NULL) Mid(s 2 3))"},
        ExprCase{"count (ID) > 0 OR len(x) = 2", "(or (> Count(ID) 0) (= Len(x) 2))"},
        ExprCase{"Left(a, 2) = Right(b, 2)", "(= Left(a 2) Right(b 2))"},
        ExprCase{"Now() > Date()", "(> Now() Date())"}, ExprCase{"x = Not y", "(= x (not y))"},
        ExprCase{"((a))", "a"}));

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

template <typename T>
T parseAs(const std::string& sql) {
    Statement st = parseStatement(sql);
    EXPECT_TRUE(st.isDefinition());
    return std::get<T>(st.body);
}

// Every word Jet accepts for a type; "(n)" and "(n, m)" sizes are parsed
// with the word, a blank before the length allowed.
struct TypeCase {
    const char* words;  // separated by "|"
    JetType type;
    int size;  // checked for Text and Binary
    bool autoNumber;
};

class TypeWords : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeWords, MapToJetTypes) {
    const TypeCase& c = GetParam();
    std::string words = c.words;
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = words.find('|', start);
        std::string word = words.substr(start, end - start);
        auto t = parseAs<CreateTableStatement>("CREATE TABLE t (c " + word + ")");
        ASSERT_EQ(t.columns.size(), 1u) << word;
        EXPECT_EQ(t.columns[0].type, c.type) << word;
        EXPECT_EQ(t.columns[0].autoNumber, c.autoNumber) << word;
        if (c.type == JetType::Text || c.type == JetType::Binary) {
            EXPECT_EQ(t.columns[0].size, c.size) << word;
        }
        // The word `orvdb schema` and the server copy write for the column
        // declares the same column again.
        const std::string declared = declarationOf(t.columns[0]);
        auto again = parseAs<CreateTableStatement>("CREATE TABLE t (c " + declared + ")");
        EXPECT_EQ(again.columns[0].type, c.type) << word << " -> " << declared;
        EXPECT_EQ(again.columns[0].autoNumber, c.autoNumber) << word << " -> " << declared;
        EXPECT_EQ(again.columns[0].size, t.columns[0].size) << word << " -> " << declared;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AnsiMode, TypeWords,
    ::testing::Values(
        TypeCase{"LONG|integer|INT|INTEGER4", JetType::Long, 0, false},
        TypeCase{"COUNTER|AUTOINCREMENT|IDENTITY", JetType::Long, 0, true},
        TypeCase{"SHORT|SMALLINT|INTEGER2", JetType::Integer, 0, false},
        TypeCase{"BYTE|TINYINT", JetType::Byte, 0, false},
        TypeCase{"REAL|SINGLE|FLOAT4|IEEESINGLE", JetType::Single, 0, false},
        TypeCase{"FLOAT|DOUBLE|FLOAT8|IEEEDOUBLE|NUMBER", JetType::Double, 0, false},
        TypeCase{"NUMERIC|DECIMAL|DEC", JetType::Decimal, 0, false},
        TypeCase{"MONEY|CURRENCY", JetType::Currency, 0, false},
        TypeCase{"DATETIME|DATE|TIME|TIMESTAMP", JetType::DateTime, 0, false},
        TypeCase{"BIT|YESNO|LOGICAL|LOGICAL1", JetType::Boolean, 0, false},
        TypeCase{"VARCHAR|NCHAR", JetType::Text, 255, false},
        TypeCase{"VARCHAR(20)|NVARCHAR (20)|TEXT(20)|CHAR(20)|CHARACTER(20)|ALPHANUMERIC(20)|"
                 "STRING(20)",
                 JetType::Text, 20, false},
        // In ANSI-92 mode TEXT without a length is a Memo.
        TypeCase{"TEXT|MEMO|LONGTEXT|LONGCHAR|NOTE|NTEXT", JetType::Memo, 0, false},
        TypeCase{"LONGBINARY|OLEOBJECT|GENERAL|IMAGE", JetType::OLE, 0, false},
        TypeCase{"GUID|UNIQUEIDENTIFIER", JetType::GUID, 0, false},
        TypeCase{"BINARY(16)|VARBINARY (16)", JetType::Binary, 16, false},
        TypeCase{"BINARY", JetType::Binary, 510, false}));

TEST(CreateTable, ColumnsAndColumnConstraints) {
    auto t = parseAs<CreateTableStatement>(
        "CREATE TABLE Expression (Id AUTOINCREMENT(100, 5) PRIMARY KEY, "
        "Expression VARCHAR(255) NOT NULL DEFAULT 'x', Price DECIMAL(10, 2) DEFAULT -1.5, "
        "Stamp DATETIME DEFAULT Now() NOT NULL, "
        "Ref LONG CONSTRAINT fk_ref REFERENCES Article (ID) ON DELETE CASCADE, "
        "Code TEXT(20) WITH COMPRESSION UNIQUE)");
    EXPECT_EQ(t.table, "Expression");
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_TRUE(t.columns[0].autoNumber);
    EXPECT_EQ(t.columns[0].autoSeed, 100);
    EXPECT_EQ(t.columns[0].autoStep, 5);
    EXPECT_TRUE(t.columns[1].required);
    EXPECT_EQ(t.columns[1].defaultValue, "'x'");
    EXPECT_EQ(t.columns[2].precision, 10);
    EXPECT_EQ(t.columns[2].scale, 2);
    EXPECT_EQ(t.columns[2].defaultValue, "-1.5");
    EXPECT_EQ(t.columns[3].defaultValue, "Now()");
    EXPECT_TRUE(t.columns[3].required);
    EXPECT_FALSE(t.columns[1].compressedUnicode);
    EXPECT_TRUE(t.columns[5].compressedUnicode);

    ASSERT_EQ(t.constraints.size(), 3u);
    EXPECT_EQ(t.constraints[0].kind, TableConstraint::Kind::PrimaryKey);
    EXPECT_EQ(t.constraints[0].columns, std::vector<std::string>{"Id"});
    EXPECT_EQ(t.constraints[1].kind, TableConstraint::Kind::ForeignKey);
    EXPECT_EQ(t.constraints[1].name, "fk_ref");
    EXPECT_EQ(t.constraints[1].columns, std::vector<std::string>{"Ref"});
    EXPECT_EQ(t.constraints[1].referencedTable, "Article");
    EXPECT_EQ(t.constraints[1].referencedColumns, std::vector<std::string>{"ID"});
    EXPECT_EQ(t.constraints[1].onDelete, ReferentialAction::Cascade);
    EXPECT_EQ(t.constraints[1].onUpdate, ReferentialAction::NoAction);
    EXPECT_EQ(t.constraints[2].kind, TableConstraint::Kind::Unique);
}

TEST(CreateTable, TableConstraints) {
    auto t = parseAs<CreateTableStatement>(
        "CREATE TABLE PillingUp_MG_Side (PillingUpID LONG, Side BYTE, "
        "CONSTRAINT pk PRIMARY KEY (PillingUpID, Side), UNIQUE (Side), "
        "CONSTRAINT fk FOREIGN KEY (PillingUpID) REFERENCES PillingUp ON UPDATE CASCADE "
        "ON DELETE SET NULL)");
    ASSERT_EQ(t.constraints.size(), 3u);
    EXPECT_EQ(t.constraints[0].name, "pk");
    EXPECT_EQ(t.constraints[0].columns, (std::vector<std::string>{"PillingUpID", "Side"}));
    EXPECT_EQ(t.constraints[1].name, "");
    EXPECT_EQ(t.constraints[1].kind, TableConstraint::Kind::Unique);
    EXPECT_TRUE(t.constraints[2].referencedColumns.empty());
    EXPECT_EQ(t.constraints[2].onUpdate, ReferentialAction::Cascade);
    EXPECT_EQ(t.constraints[2].onDelete, ReferentialAction::SetNull);
}

TEST(AlterTable, Actions) {
    using A = AlterTableStatement::Action;
    auto add = parseAs<AlterTableStatement>(
        "ALTER TABLE ProfileWorkstationProfiles ADD COLUMN COMPTYPE INTEGER, SERIEID INTEGER, "
        "COMPTYPENAME VARCHAR(50)");
    EXPECT_EQ(add.action, A::AddColumns);
    ASSERT_EQ(add.columns.size(), 3u);
    EXPECT_EQ(add.columns[2].name, "COMPTYPENAME");
    EXPECT_EQ(add.columns[2].size, 50);

    auto noColumnWord =
        parseAs<AlterTableStatement>("ALTER TABLE [Language] ADD Español VARCHAR(255)");
    EXPECT_EQ(noColumnWord.columns[0].name, "Español");

    auto alter = parseAs<AlterTableStatement>("ALTER TABLE  T  ALTER COLUMN  Id AUTOINCREMENT");
    EXPECT_EQ(alter.action, A::AlterColumn);
    EXPECT_TRUE(alter.columns[0].autoNumber);

    auto drop = parseAs<AlterTableStatement>("ALTER TABLE Machining DROP COLUMN [Position]");
    EXPECT_EQ(drop.action, A::DropColumn);
    EXPECT_EQ(drop.name, "Position");

    auto addFk = parseAs<AlterTableStatement>(
        "ALTER TABLE  LanguageExpression   ADD CONSTRAINT fk_LngExp_LngID  FOREIGN KEY (LngID)  "
        "REFERENCES [Language](ID)");
    EXPECT_EQ(addFk.action, A::AddConstraint);
    ASSERT_EQ(addFk.constraints.size(), 1u);
    EXPECT_EQ(addFk.constraints[0].name, "fk_LngExp_LngID");
    EXPECT_EQ(addFk.constraints[0].referencedTable, "Language");

    auto dropC = parseAs<AlterTableStatement>("ALTER TABLE [EmpillageBeam] DROP CONSTRAINT fk_x");
    EXPECT_EQ(dropC.action, A::DropConstraint);
    EXPECT_EQ(dropC.name, "fk_x");
}

TEST(CreateIndex, Options) {
    auto ix = parseAs<CreateIndexStatement>(
        "CREATE UNIQUE INDEX pk_Msg ON Msg_Text_Expression(Ref, [zv_Position] DESC) WITH PRIMARY");
    EXPECT_EQ(ix.table, "Msg_Text_Expression");
    EXPECT_EQ(ix.index.name, "pk_Msg");
    EXPECT_TRUE(ix.index.unique);
    EXPECT_TRUE(ix.index.primary);
    ASSERT_EQ(ix.index.columns.size(), 2u);
    EXPECT_FALSE(ix.index.columns[0].descending);
    EXPECT_TRUE(ix.index.columns[1].descending);

    auto plain = parseAs<CreateIndexStatement>("CREATE INDEX i ON t (a) WITH IGNORE NULL");
    EXPECT_FALSE(plain.index.unique);
    EXPECT_TRUE(plain.index.ignoreNulls);
    auto required = parseAs<CreateIndexStatement>("CREATE INDEX i ON t (a ASC) WITH DISALLOW NULL");
    EXPECT_TRUE(required.index.required);
    EXPECT_FALSE(required.index.primary);
}

TEST(ViewsAndDrops, ViewsKeepTheSelectTextAndDropsNameTheirObjects) {
    auto v = parseAs<CreateViewStatement>(
        "CREATE VIEW Get_LanguageColor (a, b) AS SELECT * FROM [Language] WHERE x = 'y' ;");
    EXPECT_EQ(v.view, "Get_LanguageColor");
    EXPECT_EQ(v.columns, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(v.selectText, "SELECT * FROM [Language] WHERE x = 'y'");
    ASSERT_TRUE(v.query);
    EXPECT_EQ(parseAs<DropViewStatement>("DROP VIEW Get_ItemPicture").view, "Get_ItemPicture");
    // A column list becomes aliases.
    Statement st = parseStatement(
        "CREATE VIEW v (Code, Label) AS SELECT ID, Name AS n FROM t WHERE x = 1 ORDER BY Name");
    EXPECT_EQ(viewDefinitionSql(st),
              "SELECT ID AS [Code], Name AS [Label] FROM t WHERE x = 1 ORDER BY Name");
    Statement plain = parseStatement("CREATE VIEW v AS SELECT * FROM t");
    EXPECT_EQ(viewDefinitionSql(plain), "SELECT * FROM t");
    Statement mismatch = parseStatement("CREATE VIEW v (a, b) AS SELECT ID FROM t");
    EXPECT_EQ(errorOf([&] { viewDefinitionSql(mismatch); }),
              "Number of query values and destination fields are not the same.");
    EXPECT_EQ(parseAs<DropTableStatement>("DROP TABLE [Old One]").table, "Old One");
    auto ix = parseAs<DropIndexStatement>("DROP INDEX pk ON t");
    EXPECT_EQ(ix.index, "pk");
    EXPECT_EQ(ix.table, "t");
}

struct ErrorCase {
    const char* sql;
    std::string message;
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
        ErrorCase{"DELETE t WHERE a = 1", "Syntax error in FROM clause."},
        // Unterminated tokens.
        ErrorCase{"SELECT 'abc FROM t",
                  "Syntax error in string in query expression ''abc FROM t'."},
        ErrorCase{"SELECT \"abc", "Syntax error in string in query expression '\"abc'."},
        ErrorCase{"SELECT [abc FROM t", "Invalid bracketing of name '[abc FROM t'."},
        ErrorCase{"WHERE d > #2024-01-01",
                  "Syntax error in date in query expression '#2024-01-01'."},
        // What Access writes into saved queries: a PARAMETERS declaration, and
        // DELETE with the fields of one table.
        ErrorCase{"PARAMETERS x Text SELECT 1", msg::kParameterClause},
        ErrorCase{"PARAMETERS x Text;", msg::kParameterClause},
        ErrorCase{"PARAMETERS ; SELECT 1", msg::kParameterClause},
        ErrorCase{"PARAMETERS x; SELECT 1", msg::kParameterClause},
        ErrorCase{"PARAMETERS x Text, ; SELECT 1", msg::kParameterClause},
        ErrorCase{"PARAMETERS [a]! Long; SELECT 1", msg::kParameterClause},
        ErrorCase{"PARAMETERS x Bogus; SELECT 1", msg::kFieldDefinition},
        ErrorCase{"PARAMETERS x Text(300); SELECT 1", msg::fieldTooLong("x")},
        ErrorCase{"DELETE Article.ID, GroupArticle.ID FROM Article, GroupArticle",
                  msg::kDeleteTarget},
        ErrorCase{"DELETE Article.ID, FROM Article", msg::kDeleteTarget},
        // Definitions.
        // LONGBLOB is another engine's word: Jet does not know it.
        ErrorCase{"CREATE TABLE `x` (`A`  LONG, `B`  LONGBLOB);",
                  "Syntax error in field definition."},
        ErrorCase{"ALTER TABLE t ADD COLUMN c INTEGER8", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a LONG(4))", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (Position LONG)", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a DECIMAL(40))", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a VARCHAR(300))", "Size of field 'a' is too long."},
        ErrorCase{"CREATE TABLE t ()", "Syntax error in field definition."},
        ErrorCase{"CREATE TABLE t (a LONG", "Syntax error in CREATE TABLE statement."},
        ErrorCase{"CREATE TABLE t (a LONG, CONSTRAINT c FOREIGN KEY a REFERENCES u)",
                  "Syntax error in CONSTRAINT clause."},
        ErrorCase{"CREATE TABLE t (a LONG, CONSTRAINT c PRIMARY (a))",
                  "Syntax error in CONSTRAINT clause."},
        ErrorCase{"CREATE TABLE IF NOT EXISTS t (a LONG)",
                  "Syntax error in CREATE TABLE statement."},
        ErrorCase{"DROP TABLE IF EXISTS `x`", "Syntax error in DROP TABLE or DROP INDEX."},
        // Double quotes make text, not a name.
        ErrorCase{"DROP TABLE  \"Table des erreurs\"", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"DROP INDEX i", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"DROP DATABASE x", "Syntax error in DROP TABLE or DROP INDEX."},
        ErrorCase{"ALTER TABLE DOSSIERDEVISTREENODES  MODIFY  NAME  VARCHAR(255)",
                  "Syntax error in ALTER TABLE statement."},
        ErrorCase{"ALTER TABLE t RENAME TO u", "Syntax error in ALTER TABLE statement."},
        ErrorCase{"ALTER TABLE t ADD COLUMN a LONG b LONG", "Syntax error in field definition."},
        ErrorCase{"CREATE INDEX i ON t (a) WITH UNIQUE", "Syntax error in CREATE INDEX statement."},
        ErrorCase{"CREATE INDEX i t (a)", "Syntax error in CREATE INDEX statement."},
        ErrorCase{"CREATE VIEW v AS SELECT * INTO x FROM t",
                  "Only simple SELECT queries are allowed in VIEWS."},
        ErrorCase{"CREATE VIEW v AS DELETE FROM t",
                  "Only simple SELECT queries are allowed in VIEWS."}));

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

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

const std::string kDir = std::string(ORVDB_SOURCE_DIR) + "/tests/sql/";

// Every statement the suite sends must parse; the ones it sends knowing Jet
// refuses them must fail with Jet's message.
TEST(SuiteStatements, AllParse) {
    auto lines = readLines(kDir + "suite_statements.sql");
    ASSERT_GT(lines.size(), 300u);
    size_t parsed = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            continue;
        }
        try {
            parseStatement(lines[i]);
            ++parsed;
        } catch (const SqlError& e) {
            ADD_FAILURE() << "line " << i + 1 << ": " << lines[i] << "\n  -> " << e.what();
        }
    }
    EXPECT_GT(parsed, 300u);
}

TEST(SuiteStatements, RejectedOnesFailAsInJet) {
    auto lines = readLines(kDir + "suite_rejected.txt");
    std::vector<std::pair<std::string, std::string>> cases;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') {
            continue;
        }
        ASSERT_LT(i + 1, lines.size()) << "statement without message: " << lines[i];
        cases.emplace_back(lines[i], lines[i + 1]);
        ++i;
    }
    ASSERT_GE(cases.size(), 8u);
    for (const auto& [sql, message] : cases) {
        EXPECT_EQ(testing::errorOf([&] { parseStatement(sql); }), message) << sql;
    }
}

}  // namespace
}  // namespace orvdb::engine::sql
