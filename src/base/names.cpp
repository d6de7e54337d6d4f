#include "base/names.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace orvdb::base {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The code point at text[pos], moving pos past it; negative for bytes that
// are not UTF-8 (pos then moves past them).
UChar32 nextCodePoint(std::string_view text, size_t& pos) {
    int32_t at = static_cast<int32_t>(pos);
    UChar32 c = 0;
    U8_NEXT(text.data(), at, static_cast<int32_t>(text.size()), c);
    pos = static_cast<size_t>(at);
    return c;
}

UChar32 fold(UChar32 c) {
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[j]);
        if (x < 0x80 && y < 0x80) {
            if (asciiLower(a[i]) != asciiLower(b[j])) {
                return false;
            }
            ++i;
            ++j;
            continue;
        }
        size_t startA = i;
        size_t startB = j;
        UChar32 first = nextCodePoint(a, i);
        UChar32 second = nextCodePoint(b, j);
        if (first < 0 || second < 0) {
            if (a.substr(startA, i - startA) != b.substr(startB, j - startB)) {
                return false;
            }
            continue;
        }
        if (first != second && fold(first) != fold(second)) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

std::string foldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    size_t pos = 0;
    while (pos < name.size()) {
        if (static_cast<unsigned char>(name[pos]) < 0x80) {
            out += asciiLower(name[pos++]);
            continue;
        }
        size_t start = pos;
        UChar32 c = nextCodePoint(name, pos);
        if (c < 0) {
            out.append(name.substr(start, pos - start));
            continue;
        }
        char bytes[U8_MAX_LENGTH];
        int32_t length = 0;
        U8_APPEND_UNSAFE(bytes, length, fold(c));
        out.append(bytes, static_cast<size_t>(length));
    }
    return out;
}

}  // namespace orvdb::base
