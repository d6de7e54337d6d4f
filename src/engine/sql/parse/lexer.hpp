// Splits Access SQL text into tokens. Jet has no comments; both quote kinds
// delimit text; [names] and `names` are delimited identifiers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::engine::sql {

enum class TokenKind : uint8_t {
    Word,        // bare identifier or keyword (also @@IDENTITY)
    QuotedName,  // [name] or `name`: text is the name without delimiters
    Integer,
    Number,  // with a point or an exponent
    String,  // text is the raw contents, doubled quotes still doubled
    Date,    // text is the contents between the #
    Symbol,  // operators and punctuation; text is the symbol
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    char quote = 0;  // String: the quote character
    std::string_view text;
    uint32_t begin = 0;  // byte offsets in the statement
    uint32_t end = 0;

    bool is(char symbol) const {
        return kind == TokenKind::Symbol && text.size() == 1 && text[0] == symbol;
    }
    bool isSymbol(std::string_view symbol) const {
        return kind == TokenKind::Symbol && text == symbol;
    }
    // Case-insensitive keyword test on a bare word; keyword is upper case ASCII.
    bool isWord(std::string_view keyword) const;
};

// The tokens of sql, ending with one End token. Raises SqlError for an
// unterminated string, name or date.
std::vector<Token> tokenize(std::string_view sql);

// The contents of a String token with doubled quotes made single.
std::string unquoteString(const Token& token);

}  // namespace orvdb::engine::sql
