#include "host/text_case.hpp"

#include <unicode/unistr.h>

#include <algorithm>

namespace orvdb::host {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string foldCase(std::string_view text) {
    if (isAscii(text)) {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), asciiLower);
        return folded;
    }
    std::string folded;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
        .foldCase()
        .toUTF8String(folded);
    return folded;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    }
    return foldCase(a) == foldCase(b);
}

}  // namespace orvdb::host
