// Formatting of exact values and the small codecs (text, RC4) that the row
// decoder builds on, including the direct paths it takes for common text.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "jet/format/rc4.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/format/value.hpp"

namespace orvdb::jet {
namespace {

TEST(CurrencyText, KeepsFourDecimalsExactly) {
    struct Case {
        int64_t scaled;
        const char* text;
    };
    const Case cases[] = {
        {0, "0.0000"},
        {35000, "3.5000"},
        {-1, "-0.0001"},
        {-123456789, "-12345.6789"},
        // Beyond a double's 15-16 digits: must not be rounded.
        {922337203685477580, "92233720368547.7580"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477.5808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Currency{c.scaled}.toString(), c.text) << c.scaled;
    }
}

TEST(DateTimeText, FollowsJetDayCounting) {
    struct Case {
        double days;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "1899-12-30 00:00:00"},
        {1.0, "1899-12-31 00:00:00"},
        {2.5, "1900-01-01 12:00:00"},
        // Before day 0 the fraction still counts forward from midnight.
        {-1.25, "1899-12-29 06:00:00"},
        {-0.5, "1899-12-30 12:00:00"},
        {27293.0, "1974-09-21 00:00:00"},
        {36526.0, "2000-01-01 00:00:00"},
        // 23:59:59.6 rounds into the next day, also before day 0.
        {36526.0 + 86399.6 / 86400.0, "2000-01-02 00:00:00"},
        {-1.0 - 86399.6 / 86400.0, "1899-12-30 00:00:00"},
        {2958465.0, "9999-12-31 00:00:00"},
        {-657434.0, "0100-01-01 00:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateTime{c.days}.toString(), c.text) << c.days;
    }
    EXPECT_EQ(DateTime{std::numeric_limits<double>::quiet_NaN()}.toString(), "(invalid date)");
}

TEST(GuidText, SwapsTheFirstThreeFields) {
    Guid guid;
    for (uint8_t n = 0; n < 16; ++n) {
        guid.bytes[n] = static_cast<uint8_t>(n * 0x11);
    }
    EXPECT_EQ(guid.toString(), "{33221100-5544-7766-8899-AABBCCDDEEFF}");
}

TEST(DecimalText, PlacesTheScaleAndSign) {
    EXPECT_EQ(formatDecimal(false, 0, 0), "0");
    EXPECT_EQ(formatDecimal(false, 0, 4), "0.0000");
    EXPECT_EQ(formatDecimal(true, 0, 2), "0.00");  // no negative zero
    EXPECT_EQ(formatDecimal(true, 5, 3), "-0.005");
    EXPECT_EQ(formatDecimal(false, 123456, 2), "1234.56");
    unsigned __int128 big = (static_cast<unsigned __int128>(1) << 96) - 1;  // 28-29 digits
    EXPECT_EQ(formatDecimal(false, big, 0), "79228162514264337593543950335");
    EXPECT_EQ(formatDecimal(true, big, 28), "-7.9228162514264337593543950335");
}

TEST(JetText, DecodesBothStoredForms) {
    struct Case {
        const char* what;
        std::vector<uint8_t> stored;
        std::string expected;
    };
    const Case cases[] = {
        {"UTF-16", {'A', 0, 0xE9, 0, 0xAC, 0x20}, "A\xC3\xA9\xE2\x82\xAC"},
        {"UTF-16, ASCII", {'O', 0, 'k', 0}, "Ok"},
        {"UTF-16, first non-ASCII", {'a', 0, 0x80, 0}, "a\xC2\x80"},
        {"UTF-16, high byte set", {'a', 0, 0x41, 0x01}, "a\xC5\x81"},
        // A half unit at the end is dropped rather than read past the end.
        {"UTF-16, half a unit", {'x', 0, 'y'}, "x"},
        {"UTF-16, unpaired surrogate", {0x00, 0xD8, 'q', 0}, "\xEF\xBF\xBDq"},
        {"empty", {}, ""},
        // Compressed: one byte per character after FF FE.
        {"compressed", {0xFF, 0xFE, 'a', 'b', 0xE9}, "ab\xC3\xA9"},
        {"compressed, empty", {0xFF, 0xFE}, ""},
        {"compressed, last ASCII and first Latin-1", {0xFF, 0xFE, 0x7F, 0x80}, "\x7F\xC2\x80"},
        // A zero switches to two-byte units and back.
        {"compressed, mode switches",
         {0xFF, 0xFE, 'a', 0, 0xAC, 0x20, 0x01, 0x01, 0, 'z'},
         "a\xE2\x82\xAC\xC4\x81z"},
        {"compressed, half a unit", {0xFF, 0xFE, 'a', 0, 0x41}, "a"},
    };
    std::string reused = "left over from a longer previous value";
    for (const Case& c : cases) {
        EXPECT_EQ(decodeJetText(c.stored), c.expected) << c.what;
        // Decoding into a buffer replaces what it held.
        decodeJetText(c.stored, reused);
        EXPECT_EQ(reused, c.expected) << c.what << " into a used buffer";
    }
    // The direct path for compressed text against the general conversion.
    std::vector<uint8_t> compressed = {0xFF, 0xFE};
    std::u16string units;
    for (int c = 1; c <= 0xFF; ++c) {
        compressed.push_back(static_cast<uint8_t>(c));
        units.push_back(static_cast<char16_t>(c));
    }
    EXPECT_EQ(decodeJetText(compressed), utf16ToUtf8(units)) << "every single-byte code point";
}

TEST(JetText, Utf8RoundTripsThroughUtf16) {
    const std::string text =
        "Stra\xC3\x9F"
        "e \xF0\x9F\x98\x80";  // includes a surrogate pair
    std::u16string units = utf8ToUtf16(text);
    EXPECT_EQ(units.size(), 9u);
    EXPECT_EQ(utf16ToUtf8(units), text);
}

TEST(Rc4, MatchesPublishedTestVectors) {
    struct Case {
        std::string key;
        std::string plain;
        std::vector<uint8_t> cipher;
    };
    const std::vector<Case> cases = {
        {"Key", "Plaintext", {0xBB, 0xF3, 0x16, 0xE8, 0xD9, 0x40, 0xAF, 0x0A, 0xD3}},
        {"Wiki", "pedia", {0x10, 0x21, 0xBF, 0x04, 0x20}},
        {"Secret",
         "Attack at dawn",
         {0x45, 0xA0, 0x1F, 0x64, 0x5F, 0xC3, 0x5B, 0x38, 0x35, 0x52, 0x54, 0x4B, 0x9B, 0xF5}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data(c.plain.begin(), c.plain.end());
        Rc4 cipher(std::span(reinterpret_cast<const uint8_t*>(c.key.data()), c.key.size()));
        cipher.apply(data);
        EXPECT_EQ(data, c.cipher) << c.key;
    }
}

}  // namespace
}  // namespace orvdb::jet
