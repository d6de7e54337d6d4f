// Texts that exercise every UTF-8 sequence length, shared by the string tests.
#pragma once

#include <string_view>

namespace orvdb::test {

struct TextSample {
    const char* name;
    std::string_view utf8;
    std::u16string_view utf16;
};

inline constexpr TextSample kTextSamples[] = {
    {"ascii", "Providers\\XLibData.mdb", u"Providers\\XLibData.mdb"},
    {"accents",
     "\xC3\xA9l\xC3\xA8ve \xC3\xA0 l'\xC3\xA9"
     "cole",
     u"\u00E9l\u00E8ve \u00E0 l'\u00E9cole"},
    {"cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
     u"\u041F\u0440\u0438\u0432\u0435\u0442"},
    {"cjk", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
    {"emoji", "a\xF0\x9F\x98\x80z", u"a\U0001F600z"},
    {"embedded_nul", std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
};

}  // namespace orvdb::test
