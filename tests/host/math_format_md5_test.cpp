#include "host/format.hpp"
#include "host/math_ex.hpp"
#include "host/md5.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace orvdb::host {
namespace {

TEST(TMathExTest, ComparesVersionsWithTheToleranceAroundTheBoundary) {
    struct Case {
        double a, b;
        bool petit, petitOuEgal, grandOuEgal;
    };
    const Case cases[] = {
        // Equal.
        {0.3605, 0.3605, false, true, true},
        // b above a by 0.9e-6: within the tolerance, counts as equal.
        {0.3605, 0.3605009, false, true, true},
        {0.3605009, 0.3605, false, true, true},
        // b above a by 1.1e-6 and 2e-6: clearly smaller.
        {0.3605, 0.3605011, true, true, false},
        {0.3605, 0.360502, true, true, false},
        // a above b by more than the tolerance.
        {0.360502, 0.3605, false, false, true},
        {0.36053, 0.36052, false, false, true},
        // A version read as single precision against the same literal.
        {static_cast<double>(0.36052f), 0.36052, false, true, true},
        {static_cast<double>(0.36051f), 0.36052, true, true, false},
        // Far apart and negative values.
        {0.0, 0.8, true, true, false},
        {-1.0, -1.0000005, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
        EXPECT_EQ(TMathEx::PlusPetit(c.a, c.b), c.petit);
        EXPECT_EQ(TMathEx::PlusPetitOuEgal(c.a, c.b), c.petitOuEgal);
        EXPECT_EQ(TMathEx::PlusGrandOuEgal(c.a, c.b), c.grandOuEgal);
    }
}

TEST(TMathExTest, ExplicitToleranceIsHonoured) {
    EXPECT_FALSE(TMathEx::PlusPetit(1.0, 1.4, 0.5));
    EXPECT_TRUE(TMathEx::PlusPetit(1.0, 1.6, 0.5));
    EXPECT_TRUE(TMathEx::PlusPetit(1.0, 1.0 + 1e-9, 0.0));
    EXPECT_FALSE(TMathEx::PlusPetitOuEgal(1.6, 1.0, 0.5));
    EXPECT_TRUE(TMathEx::PlusPetitOuEgal(1.4, 1.0, 0.5));
}

TEST(TFormatTest, FormatsWithAPointAndTheGivenDecimals) {
    struct Case {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {static_cast<double>(0.36052f), 5, "0.36052"},
        {0.5002, 5, "0.50020"},
        {2.0, 3, "2.000"},
        {1234.5678, 2, "1234.57"},
        {-1234.5678, 1, "-1234.6"},
        {7.0, 0, "7"},
        // Ties of the exact binary value round away from zero.
        {0.015625, 5, "0.01563"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {0.125, 2, "0.13"},
        // Carry through all digits.
        {9.999996, 5, "10.00000"},
        {-0.001, 2, "0.00"},
        {1e20, 2, "100000000000000000000.00"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "NAN"},
        {-std::numeric_limits<double>::infinity(), 2, "-INF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TFormat::FloatToStrFormated(c.value, c.decimals), c.expected)
            << c.value << " with " << c.decimals;
    }
    EXPECT_THROW(TFormat::FloatToStrFormated(1.0, -1), std::invalid_argument);
}

TEST(MD5Test, KnownDigestsInLowerCaseHexOfTextOrBytes) {
    struct Case {
        const char* text;
        const char* hex;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MD5DigestToHex(CalcMD5(c.text)), c.hex) << c.text;
    }
    // Bytes and text give the same digest.
    const std::vector<uint8_t> bytes = {'a', 'b', 'c', 0x00, 0xFF};
    const std::string text("abc\0\xFF", 5);
    EXPECT_EQ(CalcMD5(bytes), CalcMD5(text));
    EXPECT_NE(CalcMD5(text), CalcMD5(std::string_view("abc")));
}

}  // namespace
}  // namespace orvdb::host
