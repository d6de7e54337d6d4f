// Index keys: the rules the fixtures do not exercise are checked by the
// order the keys must sort in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "jet/fixture_support.hpp"
#include "jet/index/index_key.hpp"

namespace orvdb::jet {
namespace {

using testing::hex;

KeyColumn column(ColumnType type, bool ascending = true) {
    KeyColumn key;
    key.typeCode = static_cast<uint8_t>(type);
    key.ascending = ascending;
    key.name = "Value";
    return key;
}

std::vector<uint8_t> keyOf(ColumnType type, const Value& value, bool ascending = true) {
    return encodeIndexKey({column(type, ascending)}, {value});
}

// Every key Access wrote in the fixtures is re-encoded from its row and
// compared by the file check (file_check_test runs it on every fixture).

TEST(TextKeys, IgnoreCaseTrailingSpacesAndCharactersPast255) {
    const std::string x255(255, 'x');
    const std::tuple<std::string, std::string, bool> pairs[] = {
        {"MSysNavPaneGroups", "msysnavpanegroups", true},
        {"Genève", "GENÈVE", true},
        {"abc   ", "abc", true},
        {" abc", "abc", false},
        {"Genève", "Geneve", false},
        {x255 + "tail", x255, true},
        {std::string(254, 'x') + "y", x255, false}};
    for (const auto& [a, b, same] : pairs) {
        EXPECT_EQ(encodeTextKey(a, "c") == encodeTextKey(b, "c"), same) << a << " / " << b;
    }
}

TEST(TextKeys, SortLikeAccess) {
    // Orders Access's own indexes show: accents second to letters, hyphens
    // and apostrophes ignored at first, digits before letters.
    const std::vector<std::string> ascending = {"",
                                                "0",
                                                "01-012",
                                                "1",
                                                "a",
                                                "Å",
                                                "ab",
                                                "Bon app'",
                                                "Bottom",
                                                "Bottom-Dollar",
                                                "B's Beverages",
                                                "Z"};
    for (size_t n = 1; n < ascending.size(); ++n) {
        EXPECT_LT(encodeTextKey(ascending[n - 1], "c"), encodeTextKey(ascending[n], "c"))
            << '"' << ascending[n - 1] << "\" before \"" << ascending[n] << '"';
    }
}

TEST(TextKeys, CharacterWithoutKnownCodeIsRefusedNamingIt) {
    struct Case {
        std::string text;
        char32_t character;
        const char* named;
    };
    const Case cases[] = {
        {"Dvořák", U'\u0159', "U+0159"},
        {"price \u20AC", U'\u20AC', "U+20AC"},
        {"smile \U0001F600", U'\U0001F600', "U+1F600"},
        {std::string("a\0b", 3), U'\0', "U+0000"},
    };
    for (const Case& c : cases) {
        try {
            encodeIndexKey({column(ColumnType::Text)}, {Value(c.text)});
            ADD_FAILURE() << c.named << " was encoded";
        } catch (const IndexKeyError& error) {
            EXPECT_EQ(error.character(), c.character);
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("'Value'"), std::string::npos) << error.what();
        }
    }
}

// ---- Numbers, dates, binary: keys must sort like the values ----

// Values of one alternative from plain numbers.
template <class Wrapped, class Plain>
std::vector<Value> values(std::initializer_list<Plain> plain) {
    std::vector<Value> out;
    for (Plain value : plain) {
        out.emplace_back(Wrapped{value});
    }
    return out;
}

TEST(KeyOrder, KeysSortLikeValuesBothWays) {
    struct OrderedValues {
        ColumnType type;
        std::vector<Value> ascending;
    };
    const OrderedValues cases[] = {
        {ColumnType::Byte, values<int64_t>({0, 1, 127, 128, 255})},
        {ColumnType::Integer, values<int64_t>({-32768, -1, 0, 1, 32767})},
        {ColumnType::Long, values<int64_t>({INT32_MIN, -256, -1, 0, 255, INT32_MAX})},
        {ColumnType::Currency,
         values<Currency, int64_t>({INT64_MIN, -10000, -1, 0, 1, 10000, INT64_MAX})},
        {ColumnType::Single,
         values<double>({-1e30, -2.5, -1.0, -1e-30, 0.0, 1e-30, 0.5, 1.0, 3e38})},
        {ColumnType::Double,
         values<double>({-1e300, -2.5, -1.0, -1e-300, 0.0, 1e-300, 0.5, 1.0, 1e300})},
        {ColumnType::DateTime, values<DateTime, double>({-700000.5, -1.25, -1.0, 0.0, 0.5, 36526.0,
                                                         36526.75, 2958465.0})},
        {ColumnType::Boolean, {true, false}},
        {ColumnType::Binary,
         {Bytes{}, Bytes{0x00}, Bytes{0x00, 0x00}, Bytes{0x01}, Bytes{1, 2, 3, 4, 5, 6, 7, 8},
          Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0}, Bytes{1, 2, 3, 4, 5, 6, 7, 9}, Bytes{0xFF}}},
    };
    for (const OrderedValues& c : cases) {
        SCOPED_TRACE("column type " + std::to_string(static_cast<int>(c.type)));
        for (size_t n = 1; n < c.ascending.size(); ++n) {
            const Value& low = c.ascending[n - 1];
            const Value& high = c.ascending[n];
            EXPECT_LT(keyOf(c.type, low), keyOf(c.type, high))
                << describe(low) << " before " << describe(high);
            EXPECT_GT(keyOf(c.type, low, false), keyOf(c.type, high, false))
                << describe(low) << " after " << describe(high) << " descending";
        }
    }
}

// The layout of Long, Date/Time and text keys is compared with Access's in
// every fixture above.
TEST(NumberKeys, NegativeZeroIsZero) {
    EXPECT_EQ(keyOf(ColumnType::Double, -0.0), keyOf(ColumnType::Double, 0.0));
}

TEST(NumberKeys, GuidAndBinaryUseEightByteSegments) {
    Guid guid;
    for (size_t n = 0; n < guid.bytes.size(); ++n) {
        guid.bytes[n] = static_cast<uint8_t>(n + 1);
    }
    EXPECT_EQ(hex(keyOf(ColumnType::Guid, guid)), "7f010203040506070809090a0b0c0d0e0f1008");
    EXPECT_EQ(hex(keyOf(ColumnType::Binary, Bytes{0xAB, 0xCD})), "7fabcd00000000000002");
}

TEST(NullKeys, SortFirstAscendingAndLastDescending) {
    std::vector<KeyColumn> columns = {column(ColumnType::Long), column(ColumnType::Text, false)};
    EXPECT_EQ(hex(encodeIndexKey(columns, {Value{}, Value{}})), "00ff");
    EXPECT_LT(encodeIndexKey(columns, {Value{}, Value{}}),
              encodeIndexKey(columns, {int64_t{INT32_MIN}, Value{}}));
    EXPECT_GT(encodeIndexKey(columns, {int64_t{1}, Value{}}),
              encodeIndexKey(columns, {int64_t{1}, std::string("zzz")}));
}

TEST(KeyErrors, ValuesThatDoNotSuitTheColumnAreRefusedNamingIt) {
    struct Case {
        ColumnType type;
        Value value;
        const char* says;
    };
    const Case cases[] = {
        {ColumnType::Long, std::string("12"), "needs a whole number"},
        {ColumnType::Integer, int64_t{40000}, "outside the range"},
        {ColumnType::Byte, int64_t{-1}, "outside the range"},
        {ColumnType::Text, int64_t{5}, "needs text"},
        {ColumnType::DateTime, 1.5, "needs a date"},
        {ColumnType::OLE, Bytes{1}, "does not index"},
        {ColumnType::Decimal, Decimal{"1.00", 18, 2}, "does not index"},
    };
    for (const Case& c : cases) {
        std::string message = testing::errorOf([&] { keyOf(c.type, c.value); });
        EXPECT_NE(message.find("'Value'"), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << describe(c.value) << ": " << message;
    }
    EXPECT_THROW(encodeIndexKey({column(ColumnType::Long)}, {}), JetError);
}

}  // namespace
}  // namespace orvdb::jet
