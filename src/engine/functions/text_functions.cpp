// VBA's string functions. Lengths and positions count UTF-16 units, as VBA
// does (see utf16_text.hpp). Where VBA declares a parameter as a number, a
// Null there raises "Invalid use of Null"; a Null string gives Null.
#include "engine/functions/function_registry.hpp"
#include "engine/functions/jet_collation.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/functions/text_search.hpp"
#include "engine/functions/utf16_text.hpp"

#include <unicode/uchar.h>

#include <array>
#include <limits>
#include <string>

namespace orvdb::engine::functions {

namespace {

constexpr size_t kAll = std::numeric_limits<size_t>::max();

size_t nonNegativeLength(sqlite3_value* value) {
    const int32_t n = longArg(value);
    if (n < 0) {
        raiseInvalidCall();
    }
    return static_cast<size_t>(n);
}

void resultSlice(sqlite3_context* ctx, std::string_view text, size_t start, size_t count) {
    std::string scratch;
    resultText(ctx, sliceUtf16(text, start, count, scratch));
}

void jetLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, static_cast<int64_t>(utf16Length(TextArg(argv[0]).view())));
}

// Mid(s, start[, length]): start counts from 1; start < 1 or a negative length
// is an invalid call.
void jetMid(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int32_t start = longArg(argv[1]);
    if (start < 1) {
        raiseInvalidCall();
    }
    const size_t count = argc > 2 ? nonNegativeLength(argv[2]) : kAll;
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    resultSlice(ctx, TextArg(argv[0]).view(), static_cast<size_t>(start) - 1, count);
}

void jetLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const size_t count = nonNegativeLength(argv[1]);
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    resultSlice(ctx, TextArg(argv[0]).view(), 0, count);
}

void jetRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const size_t count = nonNegativeLength(argv[1]);
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const TextArg text(argv[0]);
    const size_t length = utf16Length(text.view());
    resultSlice(ctx, text.view(), length > count ? length - count : 0, kAll);
}

// InStr(s1, s2), InStr(start, s1, s2), InStr(start, s1, s2, compare). The
// comparison defaults to text (case-insensitive), as in Access queries.
void jetInStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    size_t start = 1;
    int first = 0;
    CompareMode mode = CompareMode::Text;
    if (argc >= 3) {
        const int32_t s = longArg(argv[0]);
        if (s < 1) {
            raiseInvalidCall();
        }
        start = static_cast<size_t>(s);
        first = 1;
        if (argc == 4) {
            if (isNullArg(argv[3])) {
                raiseInvalidUseOfNull();
            }
            mode = compareModeFromCode(longArg(argv[3]));
        }
    }
    if (isNullArg(argv[first]) || isNullArg(argv[first + 1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const TextArg haystack(argv[first]);
    const TextArg needle(argv[first + 1]);
    if (haystack.view().empty()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const size_t length = utf16Length(haystack.view());
    if (start > length) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (needle.view().empty()) {
        sqlite3_result_int64(ctx, static_cast<int64_t>(start));
        return;
    }
    sqlite3_result_int64(
        ctx, static_cast<int64_t>(findText(haystack.view(), needle.view(), start, mode)));
}

template <UChar32 (*Map)(UChar32)>
void mapCase(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string_view text = TextArg(argv[0]).view();
    std::string mapped;
    mapped.reserve(text.size());
    // Simple (one-to-one) case mapping, as VBA's UCase/LCase: "ß" stays "ß".
    for (size_t pos = 0; pos < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            mapped.push_back(static_cast<char>(Map(byte)));
            ++pos;
        } else {
            appendUtf8(mapped,
                       static_cast<char32_t>(Map(static_cast<UChar32>(nextCodePoint(text, pos)))));
        }
    }
    resultText(ctx, mapped);
}

// Trim, LTrim, RTrim remove spaces only, not tabs or line breaks.
template <bool Left, bool Right>
void trimSpaces(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const TextArg argument(argv[0]);
    std::string_view text = argument.view();
    while (Left && !text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (Right && !text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    resultText(ctx, text);
}

void jetSpace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultText(ctx, std::string(nonNegativeLength(argv[0]), ' '));
}

// Windows-1252, the code page of Chr and Asc, for 0x80..0x9F; the rest of
// 0..255 is Latin-1. The five unassigned codes map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromCp1252(int code) {
    return (code >= 0x80 && code < 0xA0) ? kCp1252High[static_cast<size_t>(code - 0x80)]
                                         : static_cast<char32_t>(code);
}

int toCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return '?';  // not in the code page, as Asc reports it
}

std::string charText(char32_t c) {
    std::string text;
    appendUtf8(text, (c >= 0xD800 && c <= 0xDFFF) ? kReplacementChar : c);
    return text;
}

// String(count, character): the character is the first of a text or a code
// (taken Mod 256). Null in either gives Null.
void jetString(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const size_t count = nonNegativeLength(argv[0]);
    std::string unit;
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const std::string_view text = TextArg(argv[1]).view();
        if (text.empty()) {
            raiseInvalidCall();
        }
        size_t pos = 0;
        unit = charText(nextCodePoint(text, pos));
    } else {
        int code = longArg(argv[1]) % 256;
        if (code < 0) {
            code += 256;
        }
        unit = charText(fromCp1252(code));
    }
    std::string repeated;
    repeated.reserve(unit.size() * count);
    for (size_t i = 0; i < count; ++i) {
        repeated.append(unit);
    }
    resultText(ctx, repeated);
}

void jetChr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int32_t code = longArg(argv[0]);
    if (code < 0 || code > 255) {
        raiseInvalidCall();
    }
    resultText(ctx, charText(fromCp1252(code)));
}

// ChrW accepts -32768..65535 (negative codes wrap, as VBA's Integer codes).
void jetChrW(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int32_t code = longArg(argv[0]);
    if (code < -32768 || code > 65535) {
        raiseInvalidCall();
    }
    if (code < 0) {
        code += 65536;
    }
    resultText(ctx, charText(static_cast<char32_t>(code)));
}

char32_t firstChar(sqlite3_value* value) {
    if (isNullArg(value)) {
        raiseInvalidUseOfNull();
    }
    const TextArg text(value);
    if (text.view().empty()) {
        raiseInvalidCall();
    }
    size_t pos = 0;
    return nextCodePoint(text.view(), pos);
}

void jetAsc(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, toCp1252(firstChar(argv[0])));
}

// AscW gives the first UTF-16 unit as VBA's signed Integer: "€" is 8364, a
// unit from 0x8000 up is negative, a character beyond the BMP gives its high
// surrogate.
void jetAscW(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const char32_t c = firstChar(argv[0]);
    const uint16_t unit = c >= 0x10000 ? static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10))
                                       : static_cast<uint16_t>(c);
    sqlite3_result_int(ctx, static_cast<int16_t>(unit));
}

// StrComp(a, b[, compare]): -1, 0, 1; text compare (JETTEXT) unless compare is
// 0, which compares code points.
void jetStrComp(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    CompareMode mode = CompareMode::Text;
    if (argc == 3) {
        mode = compareModeFromCode(longArg(argv[2]));
    }
    if (anyNullArg(2, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const TextArg left(argv[0]);
    const TextArg right(argv[1]);
    int order = mode == CompareMode::Text ? jetCompareText(left.view(), right.view())
                                          : left.view().compare(right.view());
    sqlite3_result_int(ctx, order < 0 ? -1 : (order > 0 ? 1 : 0));
}

// Replace(expression, find, replacement[, start[, count[, compare]]]): the
// result begins at `start` (the part before it is dropped, as in VBA), count
// -1 means all, and the comparison is text unless compare is 0, as in
// queries. Its string parameters are not Variants in VBA, so a Null there
// raises "Invalid use of Null", as the query does in Access.
void jetReplace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (isNullArg(argv[i])) {
            raiseInvalidUseOfNull();
        }
    }
    const int32_t start = argc > 3 ? longArg(argv[3]) : 1;
    const int32_t count = argc > 4 ? longArg(argv[4]) : -1;
    const CompareMode mode = argc > 5 ? compareModeFromCode(longArg(argv[5])) : CompareMode::Text;
    if (start < 1 || count < -1) {
        raiseInvalidCall();
    }
    const TextArg expression(argv[0]);
    const TextArg find(argv[1]);
    const TextArg replacement(argv[2]);
    const SearchText text(expression.view(), mode);
    const size_t from = text.indexOfUnit(static_cast<size_t>(start) - 1);
    const std::string_view source = expression.view();
    if (find.view().empty() || count == 0) {
        resultText(ctx, source.substr(text.byteOffset(from)));
        return;
    }
    const SearchText pattern(find.view(), mode);
    std::string result;
    result.reserve(source.size());
    size_t done = from;  // code-point index copied up to
    int32_t replaced = 0;
    while (count < 0 || replaced < count) {
        const size_t at = text.find(pattern, done);
        if (at == std::string::npos) {
            break;
        }
        result.append(
            source.substr(text.byteOffset(done), text.byteOffset(at) - text.byteOffset(done)));
        result.append(replacement.view());
        done = at + pattern.size();
        ++replaced;
    }
    result.append(source.substr(text.byteOffset(done)));
    resultText(ctx, result);
}

// StrReverse reverses characters (a pair beyond the BMP stays one character).
void jetStrReverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        raiseInvalidUseOfNull();
    }
    const TextArg argument(argv[0]);
    const std::string_view text = argument.view();
    std::string reversed;
    reversed.reserve(text.size());
    size_t end = text.size();
    while (end > 0) {
        size_t begin = end - 1;
        while (begin > 0 && (static_cast<unsigned char>(text[begin]) & 0xC0) == 0x80 &&
               end - begin < 4) {
            --begin;
        }
        reversed.append(text.substr(begin, end - begin));
        end = begin;
    }
    resultText(ctx, reversed);
}

}  // namespace

void registerTextFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    registerScalars(db, {
                            {"jet_len", 1, 1, pure, guarded<jetLen>},
                            {"jet_mid", 2, 3, pure, guarded<jetMid>},
                            {"jet_left", 2, 2, pure, guarded<jetLeft>},
                            {"jet_right", 2, 2, pure, guarded<jetRight>},
                            {"jet_instr", 2, 4, pure, guarded<jetInStr>},
                            {"jet_ucase", 1, 1, pure, guarded<mapCase<u_toupper>>},
                            {"jet_lcase", 1, 1, pure, guarded<mapCase<u_tolower>>},
                            {"jet_trim", 1, 1, pure, guarded<trimSpaces<true, true>>},
                            {"jet_ltrim", 1, 1, pure, guarded<trimSpaces<true, false>>},
                            {"jet_rtrim", 1, 1, pure, guarded<trimSpaces<false, true>>},
                            {"jet_space", 1, 1, pure, guarded<jetSpace>},
                            {"jet_string", 2, 2, pure, guarded<jetString>},
                            {"jet_chr", 1, 1, pure, guarded<jetChr>},
                            {"jet_chrw", 1, 1, pure, guarded<jetChrW>},
                            {"jet_asc", 1, 1, pure, guarded<jetAsc>},
                            {"jet_ascw", 1, 1, pure, guarded<jetAscW>},
                            {"jet_strcomp", 2, 3, pure, guarded<jetStrComp>},
                            {"jet_replace", 3, 6, pure, guarded<jetReplace>},
                            {"jet_strreverse", 1, 1, pure, guarded<jetStrReverse>},
                        });
}

}  // namespace orvdb::engine::functions
