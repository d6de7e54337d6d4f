// The two string types of the boundary: the wide string (a byte length
// before the units) and the reference-counted host string.
#include <gtest/gtest.h>
#include <orvdb/strings.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/boundary_strings.hpp"

namespace {

using orvdb::host::Bstr;
using orvdb::host::ConstantHostString;
using orvdb::host::HostString;

// Texts that exercise every UTF-8 sequence length.
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

// What `convert` writes in a buffer of exactly the size it asks for: the
// size it returned, then a NUL.
std::string toUtf8(char16_t* text, size_t (*convert)(char16_t*, char*, size_t) = OrvBstrToUtf8) {
    const size_t needed = convert(text, nullptr, 0);
    std::string out(needed + 1, '\x7F');
    EXPECT_EQ(convert(text, out.data(), out.size()), needed);
    EXPECT_EQ(out[needed], '\0');
    out.resize(needed);
    return out;
}

template <class T>
T headerField(OrvHostString text, ptrdiff_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(text) + offset, sizeof value);
    return value;
}

int32_t refCount(OrvHostString text) {
    return headerField<int32_t>(text, -8);
}

TEST(HostString, HeaderAtDocumentedOffsets) {
    HostString s = HostString::adopt(OrvHostStringCreate(u"Zo\u00EB\U0001F600", 5));
    ASSERT_NE(s.get(), nullptr);
    EXPECT_EQ(headerField<int32_t>(s.get(), -16), 0) << "padding";
    EXPECT_EQ(headerField<uint16_t>(s.get(), -12), 1200) << "code page";
    EXPECT_EQ(headerField<uint16_t>(s.get(), -10), 2) << "element size";
    EXPECT_EQ(headerField<int32_t>(s.get(), -8), 1) << "reference count";
    EXPECT_EQ(headerField<int32_t>(s.get(), -4), 5) << "length in units";
    EXPECT_EQ(s.get()[5], u'\0');
    EXPECT_EQ(s.view(), u"Zo\u00EB\U0001F600");
    EXPECT_EQ(reinterpret_cast<uintptr_t>(s.get()) % alignof(int32_t), 0u);
}

TEST(HostString, ConstantIsNeverCountedNorFreed) {
    static ConstantHostString constant(u"CONNEXION");
    static_assert(offsetof(ConstantHostString<10>, units) == 16);
    static_assert(offsetof(ConstantHostString<10>, refCount) == 16 - 8);
    static_assert(offsetof(ConstantHostString<10>, length) == 16 - 4);
    OrvHostString s = constant.get();
    EXPECT_EQ(OrvHostStringLength(s), 9u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(OrvHostStringAddRef(s), s);
        OrvHostStringRelease(s);
        OrvHostStringRelease(s);
    }
    EXPECT_EQ(refCount(s), -1);

    OrvHostString variable = nullptr;
    OrvHostStringAssign(&variable, s);
    EXPECT_EQ(variable, s);
    OrvHostStringAssign(&variable, nullptr);
    EXPECT_EQ(refCount(s), -1);
    EXPECT_EQ(toUtf8(s, OrvHostStringToUtf8), "CONNEXION");
}

TEST(HostString, AssignReferencesNewValueAndReleasesOld) {
    OrvHostString first = OrvHostStringFromUtf8("first");
    OrvHostString second = OrvHostStringFromUtf8("second");
    OrvHostString variable = nullptr;

    OrvHostStringAssign(&variable, first);
    EXPECT_EQ(variable, first);
    EXPECT_EQ(refCount(first), 2);

    OrvHostStringAssign(&variable, variable);  // self-assignment must not free
    EXPECT_EQ(refCount(first), 2);
    EXPECT_EQ(toUtf8(variable, OrvHostStringToUtf8), "first");

    OrvHostStringAssign(&variable, second);
    EXPECT_EQ(refCount(first), 1);
    EXPECT_EQ(refCount(second), 2);

    OrvHostStringAssign(nullptr, second);
    EXPECT_EQ(refCount(second), 2);

    OrvHostStringAssign(&variable, nullptr);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(refCount(second), 1);

    // A variable holding the only reference frees it when overwritten.
    OrvHostString sole = OrvHostStringFromUtf8("sole");
    OrvHostStringAssign(&variable, sole);
    OrvHostStringRelease(sole);
    EXPECT_EQ(refCount(variable), 1);
    OrvHostStringAssign(&variable, variable);  // the only reference: freed if released first
    EXPECT_EQ(refCount(variable), 1);
    EXPECT_EQ(toUtf8(variable, OrvHostStringToUtf8), "sole");
    OrvHostStringAssign(&variable, first);
    EXPECT_EQ(refCount(first), 2);

    OrvHostStringAssign(&variable, nullptr);
    OrvHostStringRelease(first);
    OrvHostStringRelease(second);
}

TEST(HostString, ReferenceCountIsThreadSafe) {
    HostString s = HostString::fromUtf8("contended");
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                HostString copy = s;  // AddRef
                HostString another = copy;
            }  // two Releases
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(refCount(s.get()), 1);
}

TEST(HostString, OwnerCopiesShareAndAdoptTakesOver) {
    OrvHostString raw = OrvHostStringFromUtf8("owned");
    {
        HostString shared = HostString::share(raw);
        EXPECT_EQ(refCount(raw), 2);
        HostString copy = shared;
        EXPECT_EQ(refCount(raw), 3);
        HostString moved = std::move(copy);
        EXPECT_EQ(refCount(raw), 3);
        copy = moved;
        EXPECT_EQ(refCount(raw), 4);
    }
    EXPECT_EQ(refCount(raw), 1);
    HostString adopted = HostString::adopt(raw);
    EXPECT_EQ(refCount(raw), 1);
    EXPECT_EQ(adopted.utf8(), "owned");
}

uint32_t bytePrefix(OrvBstr text) {
    uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, sizeof prefix);
    return prefix;
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

TEST(BoundaryStrings, EmptyNullAndTooLong) {
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

    // No text gives zeroed units.
    Bstr zeroed = Bstr::adopt(OrvBstrAlloc(nullptr, 3));
    ASSERT_NE(zeroed.get(), nullptr);
    EXPECT_EQ(OrvBstrLength(zeroed.get()), 3u);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(zeroed.get()[i], u'\0') << i;
    }
    // Units beyond the 32-bit byte length are refused.
    EXPECT_EQ(OrvBstrAlloc(nullptr, 0x80000000u), nullptr);

    // An empty host string is NULL.
    EXPECT_EQ(OrvHostStringCreate(u"", 0), nullptr);
    EXPECT_EQ(OrvHostStringCreate(nullptr, 0), nullptr);
    EXPECT_EQ(OrvHostStringFromUtf8(""), nullptr);
    EXPECT_EQ(OrvHostStringFromUtf8(nullptr), nullptr);
    EXPECT_EQ(OrvHostStringLength(nullptr), 0u);
    EXPECT_EQ(OrvHostStringAddRef(nullptr), nullptr);
    OrvHostStringRelease(nullptr);
    buffer[0] = 'x';
    EXPECT_EQ(OrvHostStringToUtf8(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

class StringSamples : public testing::TestWithParam<TextSample> {};

TEST_P(StringSamples, RoundTripThroughUtf8) {
    const auto& sample = GetParam();
    const std::string utf8(sample.utf8);
    // The FromUtf8 functions stop at the first NUL, as any C string does.
    const std::u16string_view expected = sample.utf16.substr(0, sample.utf16.find(u'\0'));
    Bstr b = Bstr::adopt(OrvBstrFromUtf8(utf8.c_str()));
    ASSERT_NE(b.get(), nullptr);
    EXPECT_EQ(b.view(), expected);
    EXPECT_EQ(bytePrefix(b.get()), expected.size() * 2);
    EXPECT_EQ(toUtf8(b.get()), utf8.substr(0, utf8.find('\0')));
    EXPECT_EQ(HostString::adopt(OrvHostStringFromUtf8(utf8.c_str())).view(), expected);

    // Made from units, embedded NULs included.
    const auto size = static_cast<uint32_t>(sample.utf16.size());
    Bstr units = Bstr::adopt(OrvBstrAlloc(sample.utf16.data(), size));
    EXPECT_EQ(units.view(), sample.utf16);
    EXPECT_EQ(units.utf8(), sample.utf8);
    HostString hostUnits = HostString::adopt(OrvHostStringCreate(sample.utf16.data(), size));
    EXPECT_EQ(OrvHostStringLength(hostUnits.get()), sample.utf16.size());
    EXPECT_EQ(hostUnits.view(), sample.utf16);
    EXPECT_EQ(toUtf8(hostUnits.get(), OrvHostStringToUtf8), sample.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, StringSamples, testing::ValuesIn(kTextSamples),
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
