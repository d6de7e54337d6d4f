#include "engine/functions/text_search.hpp"

#include "engine/functions/utf16_text.hpp"

#include <unicode/uchar.h>

#include <algorithm>

namespace orvdb::engine::functions {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

CompareMode compareModeFromCode(long code) {
    return code == 0 ? CompareMode::Binary : CompareMode::Text;
}

SearchText::SearchText(std::string_view text, CompareMode mode) {
    codePoints_.reserve(text.size());
    units_.reserve(text.size() + 1);
    bytes_.reserve(text.size() + 1);
    size_t unit = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        units_.push_back(unit);
        bytes_.push_back(pos);
        char32_t c = nextCodePoint(text, pos);
        unit += c >= 0x10000 ? 2 : 1;
        if (mode == CompareMode::Text) {
            c = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
        }
        codePoints_.push_back(c);
    }
    units_.push_back(unit);
    bytes_.push_back(pos);
}

size_t SearchText::find(const SearchText& needle, size_t from) const {
    if (needle.size() == 0) {
        return from <= size() ? from : std::string::npos;
    }
    if (from >= size() || needle.size() > size() - from) {
        return std::string::npos;
    }
    const auto it =
        std::search(codePoints_.begin() + static_cast<std::ptrdiff_t>(from), codePoints_.end(),
                    needle.codePoints_.begin(), needle.codePoints_.end());
    return it == codePoints_.end() ? std::string::npos
                                   : static_cast<size_t>(it - codePoints_.begin());
}

size_t SearchText::indexOfUnit(size_t unit) const {
    if (unit >= unitLength()) {
        return size();
    }
    // units_ is ascending: the last index starting at or before `unit`.
    const auto it = std::upper_bound(units_.begin(), units_.end() - 1, unit);
    return static_cast<size_t>(it - units_.begin()) - 1;
}

size_t findText(std::string_view haystack, std::string_view needle, size_t start,
                CompareMode mode) {
    if (isAscii(haystack) && isAscii(needle)) {
        if (start - 1 > haystack.size()) {
            return 0;
        }
        if (mode == CompareMode::Binary) {
            const size_t at = haystack.find(needle, start - 1);
            return at == std::string_view::npos ? 0 : at + 1;
        }
        const auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(start - 1),
                                    haystack.end(), needle.begin(), needle.end(),
                                    [](char a, char b) { return asciiLower(a) == asciiLower(b); });
        return (it == haystack.end() && !needle.empty())
                   ? 0
                   : static_cast<size_t>(it - haystack.begin()) + 1;
    }
    const SearchText text(haystack, mode);
    const SearchText pattern(needle, mode);
    const size_t from = text.indexOfUnit(start - 1);
    const size_t index = text.find(pattern, from);
    return index == std::string::npos ? 0 : text.unitOffset(index) + 1;
}

}  // namespace orvdb::engine::functions
