#include "engine/sql/parse/lexer.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"
#include "engine/sql/names.hpp"

namespace orvdb::engine::sql {

bool Token::isWord(std::string_view keyword) const {
    if (kind != TokenKind::Word || text.size() != keyword.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
        if (c != keyword[i]) {
            return false;
        }
    }
    return true;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiNamePart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class Lexer {
public:
    explicit Lexer(std::string_view sql) : sql_(sql) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        tokens.reserve(16 + sql_.size() / 4);
        for (;;) {
            skipBlanks();
            if (pos_ >= sql_.size()) {
                break;
            }
            tokens.push_back(next());
        }
        Token end;
        end.kind = TokenKind::End;
        end.begin = end.end = static_cast<uint32_t>(sql_.size());
        tokens.push_back(end);
        return tokens;
    }

private:
    void skipBlanks() {
        while (pos_ < sql_.size() && static_cast<unsigned char>(sql_[pos_]) <= 0x20) {
            ++pos_;
        }
    }

    Token make(TokenKind kind, size_t begin, size_t end, size_t textBegin, size_t textEnd) {
        Token token;
        token.kind = kind;
        token.begin = static_cast<uint32_t>(begin);
        token.end = static_cast<uint32_t>(end);
        token.text = sql_.substr(textBegin, textEnd - textBegin);
        return token;
    }

    Token next() {
        size_t start = pos_;
        char c = sql_[pos_];
        if (c == '[' || c == '`') {
            return delimitedName(c == '[' ? ']' : '`');
        }
        if (c == '\'' || c == '"') {
            return string(c);
        }
        if (c == '#') {
            return date();
        }
        if (isDigit(c) || (c == '.' && pos_ + 1 < sql_.size() && isDigit(sql_[pos_ + 1]))) {
            return number();
        }
        if (c == '@' && pos_ + 2 < sql_.size() && sql_[pos_ + 1] == '@') {
            size_t p = pos_ + 2;
            size_t q = p;
            if (isNameStart(decodeUtf8(sql_, q))) {
                pos_ = p;
                word();
                return make(TokenKind::Word, start, pos_, start, pos_);
            }
        }
        size_t probe = pos_;
        char32_t cp = decodeUtf8(sql_, probe);
        if (isNameStart(cp)) {
            word();
            return make(TokenKind::Word, start, pos_, start, pos_);
        }
        if ((c == '<' || c == '>') && pos_ + 1 < sql_.size()) {
            char d = sql_[pos_ + 1];
            if (d == '=' || (c == '<' && d == '>')) {
                pos_ += 2;
                return make(TokenKind::Symbol, start, pos_, start, pos_);
            }
        }
        pos_ = probe;  // one (possibly multi-byte) character
        return make(TokenKind::Symbol, start, pos_, start, pos_);
    }

    void word() {
        while (pos_ < sql_.size()) {
            unsigned char c = static_cast<unsigned char>(sql_[pos_]);
            if (c < 0x80) {  // the common case, without decoding
                if (!isAsciiNamePart(c)) {
                    break;
                }
                ++pos_;
                continue;
            }
            size_t p = pos_;
            if (!isNamePart(decodeUtf8(sql_, p))) {
                break;
            }
            pos_ = p;
        }
    }

    Token delimitedName(char close) {
        size_t start = pos_;
        size_t found = sql_.find(close, pos_ + 1);
        if (found == std::string_view::npos) {
            throw SqlError(msg::badBracketing(sql_.substr(start)));
        }
        pos_ = found + 1;
        return make(TokenKind::QuotedName, start, pos_, start + 1, found);
    }

    Token string(char quote) {
        size_t start = pos_;
        size_t p = pos_ + 1;
        for (;;) {
            size_t found = sql_.find(quote, p);
            if (found == std::string_view::npos) {
                throw SqlError(msg::badString(sql_.substr(start)));
            }
            if (found + 1 < sql_.size() && sql_[found + 1] == quote) {
                p = found + 2;
                continue;
            }
            pos_ = found + 1;
            Token token = make(TokenKind::String, start, pos_, start + 1, found);
            token.quote = quote;
            return token;
        }
    }

    Token date() {
        size_t start = pos_;
        size_t found = sql_.find('#', pos_ + 1);
        if (found == std::string_view::npos) {
            throw SqlError(msg::badDate(sql_.substr(start)));
        }
        pos_ = found + 1;
        return make(TokenKind::Date, start, pos_, start + 1, found);
    }

    Token number() {
        size_t start = pos_;
        bool real = false;
        while (pos_ < sql_.size() && isDigit(sql_[pos_])) {
            ++pos_;
        }
        if (pos_ < sql_.size() && sql_[pos_] == '.') {
            real = true;
            ++pos_;
            while (pos_ < sql_.size() && isDigit(sql_[pos_])) {
                ++pos_;
            }
        }
        if (pos_ < sql_.size() && (sql_[pos_] == 'e' || sql_[pos_] == 'E')) {
            size_t p = pos_ + 1;
            if (p < sql_.size() && (sql_[p] == '+' || sql_[p] == '-')) {
                ++p;
            }
            if (p < sql_.size() && isDigit(sql_[p])) {
                real = true;
                pos_ = p;
                while (pos_ < sql_.size() && isDigit(sql_[pos_])) {
                    ++pos_;
                }
            }
        }
        return make(real ? TokenKind::Number : TokenKind::Integer, start, pos_, start, pos_);
    }

    std::string_view sql_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(std::string_view sql) {
    return Lexer(sql).run();
}

std::string unquoteString(const Token& token) {
    std::string out;
    out.reserve(token.text.size());
    for (size_t i = 0; i < token.text.size(); ++i) {
        out += token.text[i];
        if (token.text[i] == token.quote && i + 1 < token.text.size()) {
            ++i;
        }
    }
    return out;
}

}  // namespace orvdb::engine::sql
