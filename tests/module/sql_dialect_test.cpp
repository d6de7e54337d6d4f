// The SQL dialect helpers, through the exports as the host calls them.
#include "module_test_support.hpp"

#include <cmath>
#include <limits>

#include "engine/sql/front_end.hpp"

namespace orvdb::module_test {
namespace {

std::string decode2(const char* condition, const char* a, const char* b, const char* alias) {
    HostResult result;
    EXPECT_EQ(DecodeValueSQL_2(H(condition).get(), H(a).get(), H(b).get(), H(alias).get(), &result),
              ORV_S_OK);
    return result.utf8();
}

std::string lineFeed(const std::string& text) {
    HostResult result;
    LineFeed(H(text).get(), &result);
    return result.utf8();
}

std::string castHex(const char* text) {
    HostResult result;
    CastHex(H(text).get(), &result);
    return result.utf8();
}

std::string dateTime(double value) {
    HostResult result;
    DateTimeToStr(value, &result);
    return result.utf8();
}

TEST(SqlDialect, DecodeValueSql) {
    EXPECT_EQ(decode2("A>1", "'x'", "B", "Res"), "IIF(A>1,'x',B) AS Res");
    EXPECT_EQ(decode2("A>1", "1", "2", ""), "IIF(A>1,1,2) AS ");
    EXPECT_EQ(decode2("A>1", "1", "2", "[CONDITION]"), "IIF(A>1,1,2)");
    EXPECT_EQ(decode2("A>1", "1", "2", "[condition]"), "IIF(A>1,1,2) AS [condition]");
    EXPECT_EQ(decode2("", "", "", "X"), "IIF(,,) AS X");
    // DecodeValueSQL substitutes a value for Null.
    HostResult result;
    EXPECT_EQ(DecodeValueSQL(H("Prix").get(), H("0").get(), H("Prix").get(), &result), ORV_S_OK);
    EXPECT_EQ(result.utf8(), "IIF(Prix IS NULL,0,Prix) AS Prix");
}

TEST(SqlDialect, CastHex) {
    EXPECT_EQ(castHex(""), "0x0");
    EXPECT_EQ(castHex("FF"), "0xFF");
    EXPECT_EQ(castHex("zz"), "0xzz") << "not validated";
}

TEST(SqlDialect, DateTimeLiteral) {
    const double second = 1.0 / 86400;
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {45356 + (14 * 3600 + 7 * 60 + 9.9) * second, "#2024-03-05 14.07.09#"},
        {-333299.5, "#0987-06-15 12.00.00#"},
        {-1.25, "#1899-12-29 06.00.00#"},  // the time of a negative value has no sign
        {0, "#1899-12-30 00.00.00#"},
        {36585 + second, "#2000-02-29 00.00.01#"},
        {2958465 + 86399.9 * second, "#9999-12-31 23.59.59#"},  // not rounded up
        {std::numeric_limits<double>::quiet_NaN(), "#1899-12-30 00.00.00#"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dateTime(c.value), c.expected) << c.value;
    }
    // Far outside the calendar still gives text, never a crash.
    EXPECT_EQ(dateTime(1e300).front(), '#');
    EXPECT_EQ(dateTime(-std::numeric_limits<double>::infinity()), "#1899-12-30 00.00.00#");
}

struct LineFeedCase {
    const char* text;
    const char* expected;
};

const LineFeedCase kLineFeedCases[] = {
    {"", "''"},
    {"abc", "'abc'"},
    {"abc\r\ndef", "'abc'&chr(13)&chr(10)&'def'"},
    {"abc\r\n", "'abc'&chr(13)&chr(10)"},
    {"a\r\nb\r\nc", "'a'&chr(13)&chr(10)&'b'&chr(13)&chr(10)&'c'"},
    // Empty pieces are quoted so that the expression stays valid.
    {"\r\nabc", "''&chr(13)&chr(10)&'abc'"},
    {"a\r\n\r\nb", "'a'&chr(13)&chr(10)&''&chr(13)&chr(10)&'b'"},
    {"\r\n", "''&chr(13)&chr(10)"},
    {"\r\n\r\n", "''&chr(13)&chr(10)&''&chr(13)&chr(10)"},
    // A lone line feed is text; a carriage return takes the character after it.
    {"a\nb", "'a\nb'"},
    {"a\rb", "'a'&chr(13)&chr(10)"},
};

TEST(SqlDialect, LineFeed) {
    for (const auto& c : kLineFeedCases) {
        EXPECT_EQ(lineFeed(c.text), c.expected) << "text: " << ::testing::PrintToString(c.text);
    }
}

class LineFeedInEngine : public ModuleTest {};

// Every result is an expression the engine parses, and evaluates back to the
// text with its line breaks as CR LF.
TEST_F(LineFeedInEngine, ResultsParseAndEvaluateToTheText) {
    const std::string path = dir.file("eval.mdb");
    createDatabaseFile(path);
    Database db = Database::openFile(path);
    db.execute("CREATE TABLE One (Id LONG)");
    db.execute("INSERT INTO One (Id) VALUES (1)");
    for (const auto& c : kLineFeedCases) {
        const std::string text = c.text;
        if (text.find('\r') != std::string::npos && text.find("\r\n") == std::string::npos) {
            continue;  // the break takes a character that is not a line feed
        }
        const std::string expression = lineFeed(text);
        EXPECT_NO_THROW(engine::sql::parseExpression(expression)) << expression;
        QueryScope query(db);
        ASSERT_TRUE(query->select("SELECT " + expression + " AS V FROM One")) << expression;
        EXPECT_EQ(query->getString("V"), text) << expression;
    }
}

}  // namespace
}  // namespace orvdb::module_test
