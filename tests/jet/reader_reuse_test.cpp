// The reader's buffer-reusing paths must give what fresh decoding gives:
// a value left over from the previous row must never show through.
#include <gtest/gtest.h>

#include "jet/fixture_support.hpp"
#include "jet/format/text_codec.hpp"
#include "jet/read/jet_file.hpp"

namespace orvdb::jet {
namespace {

using testing::FixtureInfo;

class ReusedRow : public ::testing::TestWithParam<FixtureInfo> {};

TEST_P(ReusedRow, EveryTableReadsAsWithFreshRows) {
    const FixtureInfo& info = GetParam();
    ORVDB_REQUIRE_FIXTURE(info.file);
    JetFile file = JetFile::open(testing::fixturePath(info.file), info.password);
    size_t rows = 0;
    for (const std::string& name : file.tableNames(true)) {
        TableReader fresh = file.readTable(name);
        TableReader reused = file.readTable(name);
        Row row;
        while (auto expected = fresh.next()) {
            ASSERT_TRUE(reused.next(row)) << name << " ends early after " << rows << " rows";
            ASSERT_EQ(row.id.page, expected->id.page) << name;
            ASSERT_EQ(row.id.row, expected->id.row) << name;
            ASSERT_EQ(row.values, expected->values) << name << " at " << row.id.toString();
            ++rows;
        }
        EXPECT_FALSE(reused.next(row)) << name << " has more rows when reused";
    }
    EXPECT_GT(rows, 0u);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReusedRow, ::testing::ValuesIn(testing::knownFixtures()),
                         [](const auto& param) { return testing::fixtureTestName(param.param); });

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int b : list) {
        out.push_back(static_cast<uint8_t>(b));
    }
    return out;
}

// The direct paths (compressed text without a mode switch, ASCII UTF-16)
// against the general UTF-16 conversion.
TEST(JetTextFastPaths, MatchTheUtf16Conversion) {
    std::vector<uint8_t> compressed = {0xFF, 0xFE};
    std::u16string units;
    for (int c = 1; c <= 0xFF; ++c) {
        compressed.push_back(static_cast<uint8_t>(c));
        units.push_back(static_cast<char16_t>(c));
    }
    EXPECT_EQ(decodeJetText(compressed), utf16ToUtf8(units)) << "every single-byte code point";

    struct Case {
        const char* what;
        std::vector<uint8_t> stored;
        std::string expected;
    };
    const Case cases[] = {
        {"compressed, empty", bytesOf({0xFF, 0xFE}), ""},
        {"compressed, last ASCII and first Latin-1", bytesOf({0xFF, 0xFE, 0x7F, 0x80}),
         "\x7F\xC2\x80"},
        {"UTF-16, ASCII", bytesOf({'O', 0, 'k', 0}), "Ok"},
        {"UTF-16, ASCII with a half unit", bytesOf({'O', 0, 'k'}), "O"},
        {"UTF-16, first non-ASCII", bytesOf({'a', 0, 0x80, 0}), "a\xC2\x80"},
        {"UTF-16, high byte set", bytesOf({'a', 0, 0x41, 0x01}), "a\xC5\x81"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeJetText(c.stored), c.expected) << c.what;
    }
}

TEST(JetTextFastPaths, DecodingIntoABufferReplacesItsText) {
    std::string out = "left over from a longer previous value";
    decodeJetText(bytesOf({0xFF, 0xFE, 'h', 'i'}), out);
    EXPECT_EQ(out, "hi");
    decodeJetText(bytesOf({0xFF, 0xFE, 'a', 0, 0xAC, 0x20}), out);
    EXPECT_EQ(out, "a\xE2\x82\xAC");
    decodeJetText({}, out);
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace orvdb::jet
