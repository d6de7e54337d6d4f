#include "engine/sql/names.hpp"

#include <unicode/uchar.h>

namespace orvdb::engine::sql {

char32_t decodeUtf8(std::string_view text, size_t& pos) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char b0 = byte(pos);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + static_cast<size_t>(extra) >= text.size()) {
        ++pos;
        return b0;
    }
    char32_t c = b0 & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return b0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    pos += static_cast<size_t>(extra) + 1;
    return c;
}

bool isNameStart(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }
    return u_isalpha(static_cast<UChar32>(c));
}

bool isNamePart(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    }
    if (u_isalnum(static_cast<UChar32>(c))) {
        return true;
    }
    int8_t type = u_charType(static_cast<UChar32>(c));
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK;
}

namespace {

void appendQuoted(std::string& out, std::string_view text, char quote) {
    out += quote;
    for (;;) {
        size_t q = text.find(quote);
        if (q == std::string_view::npos) {
            break;
        }
        out.append(text.data(), q + 1);
        out += quote;  // doubled
        text.remove_prefix(q + 1);
    }
    out.append(text.data(), text.size());
    out += quote;
}

}  // namespace

void appendQuotedName(std::string& out, std::string_view name) {
    appendQuoted(out, name, '"');
}

std::string quoteName(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    appendQuotedName(out, name);
    return out;
}

void appendQuotedText(std::string& out, std::string_view text) {
    appendQuoted(out, text, '\'');
}

std::string quoteText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    appendQuotedText(out, text);
    return out;
}

}  // namespace orvdb::engine::sql
