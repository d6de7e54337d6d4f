#include "engine/dataset/statement_shape.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace orvdb::engine {

namespace {

// The first byte of a key tells how the rest was made, so that keys of
// different making never meet.
constexpr char kShapeTag = 'S';    // every literal a marker
constexpr char kPartialTag = 'P';  // some literals as written
constexpr char kExactTag = 'X';    // the text as it is

// A marker is this byte and the kind's letter. The lexer reads the byte as a
// blank, so a text holding it is keyed exactly (never shaped).
constexpr char kMarker = '\x01';

// More literals than this and the text is keyed as written: a long IN list
// is not worth the scan, and SQLite caps the number of parameters.
constexpr size_t kMaxLiterals = 1000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What a byte may start or continue, for the scan's dispatch.
enum class CharClass : uint8_t {
    Other,  // blanks, operators, punctuation
    Word,   // ASCII letters, '_', bytes of multi-byte characters
    Digit,
    Point,    // starts a number when a digit follows
    Quote,    // ' or "
    Bracket,  // [ or `
    Hash,     // #
};

constexpr std::array<CharClass, 256> makeCharClasses() {
    std::array<CharClass, 256> classes{};
    for (int c = 'a'; c <= 'z'; ++c) {
        classes[c] = CharClass::Word;
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        classes[c] = CharClass::Word;
    }
    for (int c = 0x80; c <= 0xFF; ++c) {
        classes[c] = CharClass::Word;
    }
    classes['_'] = CharClass::Word;
    for (int c = '0'; c <= '9'; ++c) {
        classes[c] = CharClass::Digit;
    }
    classes['.'] = CharClass::Point;
    classes['\''] = CharClass::Quote;
    classes['"'] = CharClass::Quote;
    classes['['] = CharClass::Bracket;
    classes['`'] = CharClass::Bracket;
    classes['#'] = CharClass::Hash;
    return classes;
}

constexpr std::array<CharClass, 256> kCharClasses = makeCharClasses();

CharClass classOf(char c) {
    return kCharClasses[static_cast<unsigned char>(c)];
}

class Scanner {
public:
    Scanner(std::string_view sql, StatementShape& shape) : sql_(sql), shape_(shape) {}

    // False when the text cannot be shaped.
    bool run() {
        shape_.key.clear();
        shape_.key += kShapeTag;
        size_t pos = 0;
        const size_t size = sql_.size();
        while (pos < size) {
            switch (classOf(sql_[pos])) {
                case CharClass::Other:
                    ++pos;
                    break;
                case CharClass::Word:
                    // Digits inside a word (T1) are part of it.
                    ++pos;
                    while (pos < size) {
                        CharClass c = classOf(sql_[pos]);
                        if (c != CharClass::Word && c != CharClass::Digit) {
                            break;
                        }
                        ++pos;
                    }
                    break;
                case CharClass::Digit:
                    pos = number(pos);
                    break;
                case CharClass::Point:
                    pos = pos + 1 < size && isDigit(sql_[pos + 1]) ? number(pos) : pos + 1;
                    break;
                case CharClass::Quote:
                    pos = text(pos);
                    break;
                case CharClass::Bracket:
                    pos = closing(sql_[pos] == '[' ? ']' : '`', pos + 1);
                    break;
                case CharClass::Hash:
                    pos = closing('#', pos + 1);
                    break;
            }
            if (count_ > kMaxLiterals) {
                return false;
            }
        }
        shape_.key.append(sql_.substr(copied_));
        shape_.literals.resize(count_);
        return true;
    }

private:
    // Past the closing delimiter, or the end of the text when there is none
    // (the parser reports that).
    size_t closing(char delimiter, size_t from) const {
        size_t found = sql_.find(delimiter, from);
        return found == std::string_view::npos ? sql_.size() : found + 1;
    }

    // Records a literal and puts its marker in the key in place of its text.
    ShapeLiteral& add(size_t begin, size_t end, LiteralKind kind) {
        if (count_ == shape_.literals.size()) {
            shape_.literals.emplace_back();
        }
        ShapeLiteral& literal = shape_.literals[count_++];
        literal.begin = static_cast<uint32_t>(begin);
        literal.end = static_cast<uint32_t>(end);
        literal.kind = kind;
        shape_.key.append(sql_.substr(copied_, begin - copied_));
        shape_.key += kMarker;
        shape_.key += static_cast<char>(kind);
        copied_ = end;
        return literal;
    }

    size_t text(size_t start) {
        char quote = sql_[start];
        size_t p = start + 1;
        for (;;) {
            size_t found = sql_.find(quote, p);
            if (found == std::string_view::npos) {
                return sql_.size();
            }
            if (found + 1 < sql_.size() && sql_[found + 1] == quote) {
                p = found + 2;
                continue;
            }
            std::string_view body = sql_.substr(start + 1, found - start - 1);
            // SQLite would end a quoted literal at a NUL but binds all of it:
            // such a text keeps its own translation.
            if (body.find('\0') != std::string_view::npos) {
                return found + 1;
            }
            ShapeLiteral& literal = add(start, found + 1, LiteralKind::Text);
            literal.text.clear();
            for (size_t i = 0; i < body.size(); ++i) {
                literal.text += body[i];
                if (body[i] == quote && i + 1 < body.size()) {
                    ++i;
                }
            }
            return found + 1;
        }
    }

    // The lexer's number token: digits, an optional point and digits, an
    // optional exponent that has digits.
    size_t number(size_t start) {
        size_t pos = start;
        bool real = false;
        while (pos < sql_.size() && isDigit(sql_[pos])) {
            ++pos;
        }
        if (pos < sql_.size() && sql_[pos] == '.') {
            real = true;
            ++pos;
            while (pos < sql_.size() && isDigit(sql_[pos])) {
                ++pos;
            }
        }
        if (pos < sql_.size() && (sql_[pos] == 'e' || sql_[pos] == 'E')) {
            size_t p = pos + 1;
            if (p < sql_.size() && (sql_[p] == '+' || sql_[p] == '-')) {
                ++p;
            }
            if (p < sql_.size() && isDigit(sql_[p])) {
                real = true;
                pos = p;
                while (pos < sql_.size() && isDigit(sql_[pos])) {
                    ++pos;
                }
            }
        }
        std::string_view token = sql_.substr(start, pos - start);
        if (!real) {
            int64_t value = 0;
            auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
            // Beyond 64 bits the parser makes a Double of it: kept as written.
            if (ec != std::errc() || end != token.data() + token.size()) {
                return pos;
            }
            bool narrow = value >= std::numeric_limits<int32_t>::min() &&
                          value <= std::numeric_limits<int32_t>::max();
            add(start, pos, narrow ? LiteralKind::Integer : LiteralKind::WideInteger).integer =
                value;
            return pos;
        }
        // Read as the parser reads it, so that the bound value is the same double.
        char buffer[64];
        if (token.size() >= sizeof buffer) {
            return pos;
        }
        std::memcpy(buffer, token.data(), token.size());
        buffer[token.size()] = '\0';
        double value = std::strtod(buffer, nullptr);
        // An overflowing literal translates to Null: kept as written.
        if (!std::isfinite(value)) {
            return pos;
        }
        add(start, pos, LiteralKind::Real).real = value;
        return pos;
    }

    std::string_view sql_;
    StatementShape& shape_;
    size_t count_ = 0;
    size_t copied_ = 0;  // the text before this offset is in the key
};

}  // namespace

void shapeStatement(std::string_view sql, StatementShape& shape) {
    if (sql.find(kMarker) == std::string_view::npos && Scanner(sql, shape).run()) {
        return;
    }
    shape.literals.clear();
    shape.key.clear();
    shape.key += kExactTag;
    shape.key.append(sql);
}

void partialShapeKey(std::string_view sql, const StatementShape& shape,
                     const std::vector<bool>& parameters, std::string& key) {
    key.clear();
    key += kPartialTag;
    size_t copied = 0;
    for (size_t i = 0; i < shape.literals.size(); ++i) {
        if (!parameters[i]) {
            continue;
        }
        const ShapeLiteral& literal = shape.literals[i];
        key.append(sql.substr(copied, literal.begin - copied));
        key += kMarker;
        key += static_cast<char>(literal.kind);
        copied = literal.end;
    }
    key.append(sql.substr(copied));
}

}  // namespace orvdb::engine
