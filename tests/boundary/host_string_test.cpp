#include <gtest/gtest.h>
#include <orvdb/strings.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "boundary/text_samples.hpp"
#include "host/boundary_strings.hpp"

namespace {

using orvdb::host::ConstantHostString;
using orvdb::host::HostString;

template <class T>
T headerField(OrvHostString text, ptrdiff_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(text) + offset, sizeof value);
    return value;
}

int32_t refCount(OrvHostString text) {
    return headerField<int32_t>(text, -8);
}

std::string toUtf8(OrvHostString text) {
    const size_t needed = OrvHostStringToUtf8(text, nullptr, 0);
    std::string out(needed + 1, '\x7F');
    EXPECT_EQ(OrvHostStringToUtf8(text, out.data(), out.size()), needed);
    EXPECT_EQ(out[needed], '\0');
    out.resize(needed);
    return out;
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

TEST(HostString, EmptyIsNull) {
    EXPECT_EQ(OrvHostStringCreate(u"", 0), nullptr);
    EXPECT_EQ(OrvHostStringCreate(nullptr, 0), nullptr);
    EXPECT_EQ(OrvHostStringFromUtf8(""), nullptr);
    EXPECT_EQ(OrvHostStringFromUtf8(nullptr), nullptr);
    EXPECT_EQ(OrvHostStringLength(nullptr), 0u);
    EXPECT_EQ(OrvHostStringAddRef(nullptr), nullptr);
    OrvHostStringRelease(nullptr);
    char buffer[2] = "x";
    EXPECT_EQ(OrvHostStringToUtf8(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

class HostStringSamples : public testing::TestWithParam<orvdb::test::TextSample> {};

TEST_P(HostStringSamples, RoundTripsThroughUtf8) {
    const auto& sample = GetParam();
    HostString units = HostString::adopt(
        OrvHostStringCreate(sample.utf16.data(), static_cast<uint32_t>(sample.utf16.size())));
    EXPECT_EQ(OrvHostStringLength(units.get()), sample.utf16.size());
    EXPECT_EQ(units.view(), sample.utf16);
    EXPECT_EQ(toUtf8(units.get()), sample.utf8);

    const std::string utf8(sample.utf8);
    HostString fromUtf8 = HostString::adopt(OrvHostStringFromUtf8(utf8.c_str()));
    EXPECT_EQ(fromUtf8.view(), sample.utf16.substr(0, sample.utf16.find(u'\0')));
}

INSTANTIATE_TEST_SUITE_P(Texts, HostStringSamples, testing::ValuesIn(orvdb::test::kTextSamples),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HostString, InvalidUtf8IsReplaced) {
    HostString s = HostString::adopt(OrvHostStringFromUtf8("ok\xC3(\xFF"));
    EXPECT_EQ(s.view(), u"ok\uFFFD(\uFFFD");
    const char16_t lone[] = {0xDC00};
    EXPECT_EQ(toUtf8(HostString::adopt(OrvHostStringCreate(lone, 1)).get()), "\xEF\xBF\xBD");
}

TEST(HostString, AddRefAndReleaseCountReferences) {
    OrvHostString s = OrvHostStringFromUtf8("shared");
    ASSERT_EQ(refCount(s), 1);
    EXPECT_EQ(OrvHostStringAddRef(s), s);
    EXPECT_EQ(OrvHostStringAddRef(s), s);
    EXPECT_EQ(refCount(s), 3);
    OrvHostStringRelease(s);
    OrvHostStringRelease(s);
    EXPECT_EQ(refCount(s), 1);
    EXPECT_EQ(toUtf8(s), "shared");
    OrvHostStringRelease(s);  // the last reference frees it (checked by the sanitizer build)
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
    EXPECT_EQ(toUtf8(s), "CONNEXION");
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
    EXPECT_EQ(toUtf8(variable), "first");

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
    EXPECT_EQ(toUtf8(variable), "sole");
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

}  // namespace
