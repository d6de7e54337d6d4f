#include "engine/functions/utf16_text.hpp"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvdb::engine::functions {

char32_t nextCodePoint(std::string_view text, size_t& pos) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(
        std::min<size_t>(text.size(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
    int32_t i = static_cast<int32_t>(pos);
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    pos = static_cast<size_t>(i);
    return c < 0 ? kReplacementChar : static_cast<char32_t>(c);
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(
        std::min<size_t>(text.size(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            return false;
        }
    }
    return true;
}

size_t utf16Length(std::string_view text) {
    if (isAscii(text)) {
        return text.size();
    }
    size_t units = 0;
    for (size_t pos = 0; pos < text.size();) {
        units += nextCodePoint(text, pos) >= 0x10000 ? 2 : 1;
    }
    return units;
}

std::string_view sliceUtf16(std::string_view text, size_t start, size_t count,
                            std::string& scratch) {
    if (isAscii(text)) {
        if (start >= text.size()) {
            return {};
        }
        return text.substr(start, count);
    }
    // Walk once, noting where the slice starts and ends and whether either end
    // falls inside a surrogate pair.
    const size_t end = count > std::numeric_limits<size_t>::max() - start
                           ? std::numeric_limits<size_t>::max()
                           : start + count;
    size_t unit = 0;
    size_t pos = 0;
    size_t startByte = text.size();
    size_t endByte = text.size();
    bool startInPair = false;
    bool endInPair = false;
    bool startFound = false;
    while (pos < text.size()) {
        const size_t charStart = pos;
        const size_t units = nextCodePoint(text, pos) >= 0x10000 ? 2 : 1;
        if (!startFound && unit + units > start) {
            startFound = true;
            startByte = charStart;
            startInPair = unit < start;  // start is the second half
        }
        if (unit + units > end) {
            endByte = charStart;
            endInPair = unit < end;  // end cuts after the first half
            break;
        }
        unit += units;
    }
    if (!startFound) {
        return {};
    }
    if (!startInPair && !endInPair) {
        return text.substr(startByte, endByte - startByte);
    }
    scratch.clear();
    size_t from = startByte;
    if (startInPair) {
        // The lone second half, unless the slice ends inside the very same pair.
        if (endInPair && endByte == startByte) {
            return {};
        }
        appendUtf8(scratch, kReplacementChar);
        nextCodePoint(text, from);
    }
    if (from < endByte) {
        scratch.append(text.substr(from, endByte - from));
    }
    if (endInPair) {
        appendUtf8(scratch, kReplacementChar);
    }
    return scratch;
}

}  // namespace orvdb::engine::functions
