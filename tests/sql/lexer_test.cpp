#include "engine/sql/parse/lexer.hpp"
#include "engine/engine_error.hpp"
#include "sql_test_support.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orvdb::engine::sql {
namespace {

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

struct LexError {
    const char* sql;
    const char* message;
};

class LexerErrors : public ::testing::TestWithParam<LexError> {};

TEST_P(LexerErrors, UnterminatedTokensFailWithJetWording) {
    EXPECT_EQ(testing::errorOf([&] { tokenize(GetParam().sql); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LexerErrors,
    ::testing::Values(
        LexError{"SELECT 'abc FROM t", "Syntax error in string in query expression ''abc FROM t'."},
        LexError{"SELECT \"abc", "Syntax error in string in query expression '\"abc'."},
        LexError{"SELECT [abc FROM t", "Invalid bracketing of name '[abc FROM t'."},
        LexError{"WHERE d > #2024-01-01",
                 "Syntax error in date in query expression '#2024-01-01'."}));

}  // namespace
}  // namespace orvdb::engine::sql
