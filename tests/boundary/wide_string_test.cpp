#include <gtest/gtest.h>
#include <orvdb/strings.h>

#include <cstring>
#include <string>

#include "boundary/text_samples.hpp"
#include "host/boundary_strings.hpp"

namespace {

using orvdb::host::Bstr;

uint32_t bytePrefix(OrvBstr text) {
    uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, sizeof prefix);
    return prefix;
}

std::string toUtf8(OrvBstr text) {
    const size_t needed = OrvBstrToUtf8(text, nullptr, 0);
    std::string out(needed + 1, '\x7F');
    EXPECT_EQ(OrvBstrToUtf8(text, out.data(), out.size()), needed);
    EXPECT_EQ(out[needed], '\0');
    out.resize(needed);
    return out;
}

TEST(WideString, LayoutHasByteLengthBeforeAndZeroAfter) {
    const char16_t text[] = u"Gr\u00FC\u00DF \U0001F600";  // 8 units: the emoji takes two
    Bstr b = Bstr::adopt(OrvBstrAlloc(text, 8));
    ASSERT_NE(b.get(), nullptr);
    EXPECT_EQ(bytePrefix(b.get()), 16u);
    EXPECT_EQ(OrvBstrLength(b.get()), 8u);
    EXPECT_EQ(std::memcmp(b.get(), text, 16), 0);
    EXPECT_EQ(b.get()[8], u'\0');
}

TEST(WideString, EmptyAndNull) {
    Bstr empty = Bstr::adopt(OrvBstrAlloc(u"", 0));
    ASSERT_NE(empty.get(), nullptr) << "zero units is a valid, allocated string";
    EXPECT_EQ(bytePrefix(empty.get()), 0u);
    EXPECT_EQ(empty.get()[0], u'\0');

    EXPECT_EQ(OrvBstrLength(nullptr), 0u);
    OrvBstrFree(nullptr);
    char buffer[4] = "xyz";
    EXPECT_EQ(OrvBstrToUtf8(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");

    Bstr fromNull = Bstr::adopt(OrvBstrFromUtf8(nullptr));
    ASSERT_NE(fromNull.get(), nullptr);
    EXPECT_EQ(OrvBstrLength(fromNull.get()), 0u);
}

TEST(WideString, NullTextGivesZeroedUnits) {
    Bstr b = Bstr::adopt(OrvBstrAlloc(nullptr, 3));
    ASSERT_NE(b.get(), nullptr);
    EXPECT_EQ(OrvBstrLength(b.get()), 3u);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(b.get()[i], u'\0') << i;
    }
}

TEST(WideString, UnitsBeyondThe32BitByteLengthAreRefused) {
    EXPECT_EQ(OrvBstrAlloc(nullptr, 0x80000000u), nullptr);
}

class WideStringSamples : public testing::TestWithParam<orvdb::test::TextSample> {};

TEST_P(WideStringSamples, RoundTripsThroughUtf8) {
    const auto& sample = GetParam();
    const std::string utf8(sample.utf8);
    // OrvBstrFromUtf8 stops at the first NUL, as any C string does.
    const std::u16string_view expected = sample.utf16.substr(0, sample.utf16.find(u'\0'));
    Bstr b = Bstr::adopt(OrvBstrFromUtf8(utf8.c_str()));
    ASSERT_NE(b.get(), nullptr);
    EXPECT_EQ(b.view(), expected);
    EXPECT_EQ(bytePrefix(b.get()), expected.size() * 2);
    EXPECT_EQ(toUtf8(b.get()), utf8.substr(0, utf8.find('\0')));

    // Allocated from units, embedded NULs included.
    Bstr units =
        Bstr::adopt(OrvBstrAlloc(sample.utf16.data(), static_cast<uint32_t>(sample.utf16.size())));
    EXPECT_EQ(units.view(), sample.utf16);
    EXPECT_EQ(units.utf8(), sample.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, WideStringSamples, testing::ValuesIn(orvdb::test::kTextSamples),
                         [](const auto& info) { return std::string(info.param.name); });

struct Malformed {
    const char* name;
    const char* utf8;
    std::u16string_view expected;  // empty: only check for a replacement character
};

TEST(WideString, InvalidUtf8BecomesReplacementCharacter) {
    const Malformed cases[] = {
        {"stray_byte",
         "a\xFF"
         "b",
         u"a\uFFFDb"},
        {"truncated_sequence_at_end", "abc\xE2\x82", u"abc\uFFFD"},
        {"lone_continuation", "\x80x", u"\uFFFDx"},
        {"encoded_surrogate", "\xED\xA0\x80", u""},
        {"overlong_slash", "\xC0\xAF", u""},
        {"beyond_u10ffff", "\xF4\x90\x80\x80", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bstr b = Bstr::adopt(OrvBstrFromUtf8(c.utf8));
        ASSERT_NE(b.get(), nullptr);
        if (!c.expected.empty()) {
            EXPECT_EQ(b.view(), c.expected);
        } else {
            EXPECT_NE(b.view().find(u'\uFFFD'), std::u16string_view::npos);
        }
        for (char16_t unit : b.view()) {
            EXPECT_FALSE(unit >= 0xD800 && unit <= 0xDFFF);
        }
        EXPECT_NE(toUtf8(b.get()).find("\xEF\xBF\xBD"), std::string::npos);
    }
}

TEST(WideString, LoneSurrogatesBecomeReplacementCharacterInUtf8) {
    const char16_t highAlone[] = {u'x', 0xD83D, u'y'};
    const char16_t lowAlone[] = {0xDE00, u'z'};
    const char16_t reversed[] = {0xDE00, 0xD83D};
    EXPECT_EQ(Bstr::adopt(OrvBstrAlloc(highAlone, 3)).utf8(), "x\xEF\xBF\xBDy");
    EXPECT_EQ(Bstr::adopt(OrvBstrAlloc(lowAlone, 2)).utf8(), "\xEF\xBF\xBDz");
    EXPECT_EQ(Bstr::adopt(OrvBstrAlloc(reversed, 2)).utf8(), "\xEF\xBF\xBD\xEF\xBF\xBD");
    const char16_t trailingHigh[] = {u'a', 0xD83D};
    Bstr b = Bstr::adopt(OrvBstrAlloc(trailingHigh, 2));
    EXPECT_EQ(toUtf8(b.get()), "a\xEF\xBF\xBD");
}

TEST(WideString, ToUtf8IsSnprintfLikeAndCutsAtCharacterBoundaries) {
    Bstr b = Bstr::fromUtf8("x\xC3\xA9\xF0\x9F\x98\x80");  // x, é (2 bytes), emoji (4 bytes)
    struct Case {
        size_t size;
        const char* written;
    };
    const Case cases[] = {
        {1, ""},          {2, "x"},         {3, "x"},
        {4, "x\xC3\xA9"}, {7, "x\xC3\xA9"}, {8, "x\xC3\xA9\xF0\x9F\x98\x80"},
    };
    EXPECT_EQ(OrvBstrToUtf8(b.get(), nullptr, 0), 7u);
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(OrvBstrToUtf8(b.get(), buffer, c.size), 7u) << c.size;
        EXPECT_STREQ(buffer, c.written) << c.size;
        EXPECT_EQ(buffer[c.size], '#') << "wrote past the given size " << c.size;
    }
}

TEST(WideString, BstrOwnerReleasesAndResets) {
    Bstr a = Bstr::fromUtf8("first");
    OrvBstr* out = a.put();
    EXPECT_EQ(*out, nullptr) << "put() frees the old string and hands out an empty slot";
    *out = OrvBstrFromUtf8("second");
    EXPECT_EQ(a.utf8(), "second");
    Bstr b = std::move(a);
    EXPECT_EQ(a.get(), nullptr);
    OrvBstr raw = b.release();
    EXPECT_EQ(b.get(), nullptr);
    EXPECT_EQ(Bstr::adopt(raw).utf8(), "second");
}

}  // namespace
