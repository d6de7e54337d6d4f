// Jet date values and the SQL functions the engine registers, on a real
// SQLite database; expected dates come from std::chrono, not the code under test.
#include "engine/engine_error.hpp"
#include "engine/functions/column_coercion.hpp"
#include "engine/functions/jet_collation.hpp"
#include "engine/functions/jet_functions.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"
#include "engine/sql_value.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <span>
#include <string>

namespace orvdb::engine::testing {
namespace {

// One row of a table-driven test: an SQL expression and what eval() gives.
struct SqlCase {
    const char* expression;
    const char* expected;
};

// Days since 1899-12-30 of a civil date, by std::chrono, with Jet's encoding
// of the time of day (before 1899-12-30 the fraction is subtracted).
inline double jetSerial(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    using namespace std::chrono;
    const auto days =
        (sys_days{year{y} / month{m} / day{d}} - sys_days{1899y / December / 30d}).count();
    const double fraction = (hh * 3600 + mm * 60 + ss) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

// "YYYY-MM-DD hh:mm:ss" of a Jet serial, decoded with std::chrono.
inline std::string civilText(double serial) {
    using namespace std::chrono;
    const double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    long long dayCount = static_cast<long long>(whole);
    if (seconds == 86400) {
        seconds = 0;
        ++dayCount;
    }
    const year_month_day ymd{sys_days{1899y / December / 30d} + days{dayCount}};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02lld:%02lld:%02lld", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return buffer;
}

inline std::string shortestReal(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

class JetSqlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        registerJetCollation(db_);
        registerJetFunctions(db_);
    }
    void TearDown() override { sqlite3_close(db_); }

    void exec(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << sql << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    // "SELECT <expression>" described as "null", "int:3", "real:2.5",
    // "text:abc", "blob:0A0B" or "error:<message>". With asDate a REAL is
    // shown as "date:YYYY-MM-DD hh:mm:ss".
    std::string eval(const std::string& expression, bool asDate = false) {
        return rows("SELECT " + expression, asDate);
    }

    // Checks every case, reporting each mismatch with its expression. A
    // REAL is shown as a date where the expected text is one.
    void expectCases(std::span<const SqlCase> cases) {
        for (const SqlCase& c : cases) {
            const bool asDate = std::string_view(c.expected).starts_with("date:");
            EXPECT_EQ(eval(c.expression, asDate), c.expected) << c.expression;
        }
    }

    // Every row of a query, columns separated by '|', rows by ';'.
    std::string rows(const std::string& sql, bool asDate = false) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            return std::string("prepare-error:") + sqlite3_errmsg(db_);
        }
        std::string out;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!out.empty()) {
                out += ";";
            }
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (c > 0) {
                    out += "|";
                }
                out += describe(stmt, c, asDate);
            }
        }
        if (rc != SQLITE_DONE) {
            out += std::string("error:") + sqlite3_errmsg(db_);
        }
        sqlite3_finalize(stmt);
        return out;
    }

    sqlite3* db_ = nullptr;

private:
    static std::string describe(sqlite3_stmt* stmt, int column, bool asDate) {
        switch (sqlite3_column_type(stmt, column)) {
            case SQLITE_NULL:
                return "null";
            case SQLITE_INTEGER:
                return "int:" + std::to_string(sqlite3_column_int64(stmt, column));
            case SQLITE_FLOAT: {
                const double v = sqlite3_column_double(stmt, column);
                return asDate ? "date:" + civilText(v) : "real:" + shortestReal(v);
            }
            case SQLITE_TEXT:
                return std::string("text:") +
                       reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            default: {
                const auto* bytes =
                    static_cast<const unsigned char*>(sqlite3_column_blob(stmt, column));
                std::string hex = "blob:";
                char two[3];
                for (int i = 0; i < sqlite3_column_bytes(stmt, column); ++i) {
                    std::snprintf(two, sizeof two, "%02X", bytes[i]);
                    hex += two;
                }
                return hex;
            }
        }
    }
};

// Jet date values: parsing, parts, text form.
TEST(JetDateTime, InvalidPartsAreRejected) {
    const DateParts invalid[] = {
        {99, 1, 1},       {10000, 1, 1},       {2024, 0, 1},           {2024, 13, 1},
        {2023, 2, 29},    {1900, 2, 29},       {2024, 4, 31},          {2024, 1, 0},
        {2024, 1, 1, 24}, {2024, 1, 1, 0, 60}, {2024, 1, 1, 0, 0, 60},
    };
    for (const DateParts& p : invalid) {
        EXPECT_FALSE(jetDateFromParts(p).has_value())
            << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":" << p.minute;
    }
}

TEST(JetDateTime, PartsRoundTripOnBothSidesOf1899) {
    const DateParts dates[] = {
        {100, 1, 1},
        {1600, 2, 29, 23, 59, 59},
        {1800, 6, 15, 12, 0, 0},
        {1899, 12, 29, 6, 0, 0},
        {1899, 12, 30},
        {1899, 12, 30, 0, 0, 1},
        {1900, 1, 1},
        {1899, 12, 31, 18, 30, 0},
        {2024, 2, 29, 14, 7, 9},
        {9999, 12, 31, 23, 59, 59},
    };
    for (const DateParts& p : dates) {
        const std::optional<double> serial = jetDateFromParts(p);
        ASSERT_TRUE(serial.has_value()) << p.year;
        EXPECT_EQ(*serial, jetSerial(p.year, p.month, p.day, p.hour, p.minute, p.second)) << p.year;
        const DateParts back = jetDateToParts(*serial);
        EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second),
                  std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second))
            << "serial " << *serial;
    }
}

TEST(JetDateTime, PartsRoundToTheNearestSecond) {
    const DateParts p = jetDateToParts(45356.0 + 0.9999999);
    EXPECT_EQ(std::tie(p.day, p.hour, p.second), std::make_tuple(6, 0, 0));
    EXPECT_EQ(jetDateToParts(45356.0 + 1.4 / 86400).second, 1);
}

TEST(JetDateTime, ParsesTheFormsJetAccepts) {
    struct Case {
        const char* text;
        double expected;
    } const cases[] = {
        {"2024-03-05", jetSerial(2024, 3, 5)},
        {"2024-03-05 14:07:09", jetSerial(2024, 3, 5, 14, 7, 9)},
        {"2024-03-05 14.07.09", jetSerial(2024, 3, 5, 14, 7, 9)},
        {"#2024-03-05 14.07.09#", jetSerial(2024, 3, 5, 14, 7, 9)},
        {"2024-03-05T14:07:09", jetSerial(2024, 3, 5, 14, 7, 9)},
        {"2024/3/5", jetSerial(2024, 3, 5)},
        {"  2024-03-05  ", jetSerial(2024, 3, 5)},
        // Slashes read month first, as Jet's #m/d/yyyy# literals...
        {"3/5/2024", jetSerial(2024, 3, 5)},
        {"03/05/2024 2:07:09 PM", jetSerial(2024, 3, 5, 14, 7, 9)},
        {"3/5/2024 12:00 AM", jetSerial(2024, 3, 5)},
        // ...unless the first number cannot be a month.
        {"13/5/2024", jetSerial(2024, 5, 13)},
        {"3/5/24", jetSerial(2024, 3, 5)},
        {"3/5/30", jetSerial(1930, 3, 5)},
        {"3-5-2024", jetSerial(2024, 3, 5)},
        {"5-Mar-2024", jetSerial(2024, 3, 5)},
        {"05-Mar-24", jetSerial(2024, 3, 5)},
        {"5 March 2024", jetSerial(2024, 3, 5)},
        {"March 5, 2024", jetSerial(2024, 3, 5)},
        {"Tuesday, March 5, 2024", jetSerial(2024, 3, 5)},
        {"mar 5 2024 14:07", jetSerial(2024, 3, 5, 14, 7)},
        {"March 2024", jetSerial(2024, 3, 1)},
        {"3/2024", jetSerial(2024, 3, 1)},
        {"14:07", jetSerial(1899, 12, 30, 14, 7)},
        {"14:07:09", jetSerial(1899, 12, 30, 14, 7, 9)},
        {"2:07 PM", jetSerial(1899, 12, 30, 14, 7)},
        {"12:30 pm", jetSerial(1899, 12, 30, 12, 30)},
        {"12:00 AM", 0.0},
        {"2 PM", jetSerial(1899, 12, 30, 14)},
        {"1800-06-15 12:00", jetSerial(1800, 6, 15, 12)},
        {"1899-12-29 06:00", -1.25},
        {"0100-01-01", jetSerial(100, 1, 1)},
        {"9999-12-31 23:59:59", jetSerial(9999, 12, 31, 23, 59, 59)},
    };
    for (const Case& c : cases) {
        const std::optional<double> parsed = parseJetDate(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, c.expected) << c.text;
    }
}

TEST(JetDateTime, RejectsWhatIsNoDate) {
    const char* const texts[] = {
        "",
        "abc",
        "5",
        "2023-02-29",
        "2024-13-01",
        "2024-02-30",
        "25:00",
        "14:60",
        "13:00 PM",
        "3/5/2024 x",
        "2024--03-05",
        "32/13/2024",
        "March",
        "Mar Apr 5",
        "-3/5/2024",
        "10000-01-01",
        "2024-03-05 14:07:09:01",
    };
    for (const char* text : texts) {
        EXPECT_FALSE(parseJetDate(text).has_value()) << text;
    }
}

TEST(JetDateTime, TextFormRoundTrips) {
    const char* const texts[] = {"2024-03-05",         "2024-03-05 14:07:09", "1899-12-29 06:00:00",
                                 "1899-12-30",         "0100-01-01",          "1600-02-29 23:59:59",
                                 "9999-12-31 23:59:59"};
    for (const char* text : texts) {
        const std::optional<double> parsed = parseJetDate(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(formatJetDate(*parsed), text);
    }
}

TEST(JetDateTime, LinearSecondsAreMonotonicAcross1899) {
    // 1899-12-29 18:00 (-1.75) comes before 1899-12-30 06:00 (0.25).
    EXPECT_LT(jetDateToSeconds(-1.75), jetDateToSeconds(0.25));
    EXPECT_EQ(jetDateToSeconds(0.25) - jetDateToSeconds(-1.75), 12 * 3600);
    EXPECT_EQ(jetDateFromSeconds(jetDateToSeconds(-1.25)), -1.25);
    EXPECT_EQ(jetDateFromSeconds(-86400), -1.0);
    EXPECT_TRUE(isJetDateInRange(jetSerial(100, 1, 1)));
    EXPECT_FALSE(isJetDateInRange(jetSerial(99, 12, 31)));
    EXPECT_FALSE(isJetDateInRange(jetSerial(9999, 12, 31) + 1));
}

// JETTEXT: case-insensitive, accent-sensitive comparison and ordering.
int sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

TEST(JetCollation, ComparesWithoutCaseButWithAccents) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    } const cases[] = {
        {"abc", "ABC", 0},     {"Name", "nAME", 0}, {"é", "É", 0},
        {"e", "é", -1},        {"é", "f", -1},      {"a", "B", -1},
        {"B", "c", -1},        {"abc", "abcd", -1}, {"", "a", -1},
        {"Zebra", "apple", 1}, {"côte", "cote", 1}, {"Prix unitaire", "prix UNITAIRE", 0},
        {"Prix", "Príx", -1},  {"a b", "ab", -1},
    };
    // Fold keys are equal exactly for texts that compare equal.
    for (const Case& c : cases) {
        EXPECT_EQ(sign(jetCompareText(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(jetCompareText(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
        EXPECT_EQ(jetFoldKey(c.a) == jetFoldKey(c.b), c.expected == 0) << c.a << " vs " << c.b;
    }
}

// ASCII text takes a shortcut past ICU; it must order exactly as ICU's sort
// keys do, control characters, punctuation and case included.
TEST(JetCollation, AsciiShortcutAgreesWithIcuSortKeys) {
    std::mt19937 random(7);
    const std::string alphabet =
        std::string("aAbBzZ09 -_.,'~!#%&()*+/:;<=>?@[\\]^`{|}\t\n\x01\x7f") + '\0';
    auto randomText = [&] {
        std::string text;
        for (size_t n = random() % 6; n > 0; --n) {
            text.push_back(alphabet[random() % alphabet.size()]);
        }
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = randomText();
        const std::string b = randomText();
        ASSERT_EQ(sign(jetCompareText(a, b)), sign(jetFoldKey(a).compare(jetFoldKey(b))))
            << "'" << a << "' vs '" << b << "'";
    }
}

TEST_F(JetSqlTest, OrderByMixesCaseAndPlacesAccentsAfterTheirLetter) {
    exec("CREATE TABLE t(x TEXT)");
    exec("INSERT INTO t VALUES ('b'), ('A'), ('é'), ('e'), ('E'), ('a'), ('f'), ('Z'), ('ef')");
    // Ties (a/A, e/E) are broken by the binary order so the result is fixed.
    EXPECT_EQ(rows("SELECT x FROM t ORDER BY x COLLATE JETTEXT, x"),
              "text:A;text:a;text:b;text:E;text:e;text:é;text:ef;text:f;text:Z");
    EXPECT_EQ(rows("SELECT count(*) FROM t WHERE x = 'E' COLLATE JETTEXT"), "int:2");
}

TEST_F(JetSqlTest, DeclaredColumnCollationGroupsCaseVariants) {
    exec("CREATE TABLE t(x TEXT COLLATE JETTEXT)");
    exec("INSERT INTO t VALUES ('Paris'), ('PARIS'), ('paris'), ('Pâris')");
    EXPECT_EQ(rows("SELECT count(DISTINCT x) FROM t"), "int:2");
}

// jet_coerce and coerceForColumn: the conversion of values stored into
// columns, with Jet's errors naming the column.

#define MISMATCH(column) "error:Data type mismatch in criteria expression. (field '" column "')"
#define OVERFLOW(column) "error:Overflow (field '" column "')"
#define TOO_SMALL(column)                                                                   \
    "error:The field is too small to accept the amount of data you attempted to add.  Try " \
    "inserting or pasting less data. (field '" column "')"

TEST_F(JetSqlTest, CoercionsGiveJetsResults) {
    const SqlCase cases[] = {
        {"jet_coerce(NULL, 1, 0, 'T.B')", "int:0"},
        {"jet_coerce(5, 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce(0.0, 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('True', 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce(' yes ', 1, 0, 'T.B')", "int:-1"},
        {"jet_coerce('Off', 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('0', 1, 0, 'T.B')", "int:0"},
        {"jet_coerce('maybe', 1, 0, 'T.B')", MISMATCH("T.B")},
        {"jet_coerce(255, 2, 1, 'T.Y')", "int:255"},
        {"jet_coerce(256, 2, 1, 'T.Y')", OVERFLOW("T.Y")},
        {"jet_coerce(-1, 2, 1, 'T.Y')", OVERFLOW("T.Y")},
        {"jet_coerce(2.5, 2, 1, 'T.Y')", "int:2"},
        {"jet_coerce('3.5', 2, 1, 'T.Y')", "int:4"},
        {"jet_coerce(' 7 ', 2, 1, 'T.Y')", "int:7"},
        {"jet_coerce(32767, 3, 2, 'T.I')", "int:32767"},
        {"jet_coerce(32768, 3, 2, 'T.I')", OVERFLOW("T.I")},
        {"jet_coerce('1e3', 3, 2, 'T.I')", "int:1000"},
        {"jet_coerce('5.5', 3, 2, 'T.I')", "int:6"},
        {"jet_coerce('abc', 3, 2, 'T.I')", MISMATCH("T.I")},
        {"jet_coerce(x'01', 3, 2, 'T.I')", MISMATCH("T.I")},
        {"jet_coerce(NULL, 3, 2, 'T.I')", "null"},
        {"jet_coerce(2147483647, 4, 4, 'T.L')", "int:2147483647"},
        {"jet_coerce(2147483648, 4, 4, 'T.L')", OVERFLOW("T.L")},
        {"jet_coerce(-2147483648.4, 4, 4, 'T.L')", "int:-2147483648"},
        {"jet_coerce('99999999999', 4, 4, 'T.L')", OVERFLOW("T.L")},
        {"jet_coerce(1.23456, 5, 8, 'T.C')", "real:1.2346"},
        {"jet_coerce(1, 5, 8, 'T.C')", "real:1"},
        {"jet_coerce(1e16, 5, 8, 'T.C')", OVERFLOW("T.C")},
        {"jet_coerce(0.1, 6, 4, 'T.S')", "real:0.10000000149011612"},
        {"jet_coerce(1e39, 6, 4, 'T.S')", OVERFLOW("T.S")},
        {"jet_coerce('2.5', 7, 8, 'T.D')", "real:2.5"},
        {"jet_coerce(3, 7, 8, 'T.D')", "real:3"},
        {"jet_coerce('2024-03-05', 8, 8, 'T.W')", "real:45356"},
        {"jet_coerce('3/5/2024 12:00 PM', 8, 8, 'T.W')", "real:45356.5"},
        {"jet_coerce(45356.25, 8, 8, 'T.W')", "real:45356.25"},
        {"jet_coerce(45356, 8, 8, 'T.W')", "real:45356"},
        {"jet_coerce('soon', 8, 8, 'T.W')", MISMATCH("T.W")},
        {"jet_coerce(1e7, 8, 8, 'T.W')", OVERFLOW("T.W")},
        {"jet_coerce(12, 10, 5, 'T.X')", "text:12"},
        {"jet_coerce(2.5, 10, 5, 'T.X')", "text:2.5"},
        {"jet_coerce(0.1 + 0.2, 10, 50, 'T.X')", "text:0.30000000000000004"},
        {"jet_coerce('abcde', 10, 5, 'T.X')", "text:abcde"},
        {"jet_coerce('abcdef', 10, 5, 'T.X')", TOO_SMALL("T.X")},
        {"jet_coerce(123456, 10, 5, 'T.X')", TOO_SMALL("T.X")},
        // Characters, not bytes: five accented letters fit five places...
        {"jet_coerce('éèêëà', 10, 5, 'T.X')", "text:éèêëà"},
        // ...but a character beyond the BMP takes two.
        {"jet_coerce('\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80', 10, 5, 'T.X')",
         TOO_SMALL("T.X")},
        {"jet_coerce('abcdefgh', 12, 5, 'T.M')", "text:abcdefgh"},
        {"jet_coerce(NULL, 10, 5, 'T.X')", "null"},
        {"jet_coerce(x'0102', 9, 2, 'T.Bin')", "blob:0102"},
        {"jet_coerce(x'010203', 9, 2, 'T.Bin')", TOO_SMALL("T.Bin")},
        {"jet_coerce('AB', 9, 10, 'T.Bin')", "blob:4142"},
        {"jet_coerce('hello', 11, 0, 'T.O')", "blob:68656C6C6F"},
        {"jet_coerce(5, 11, 0, 'T.O')", MISMATCH("T.O")},
        {"jet_coerce('{12345678-9abc-def0-1234-56789abcdef0}', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        {"jet_coerce('123456789abcdef0123456789abcdef0', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        // 16 bytes in Windows order: the first three fields little-endian.
        {"jet_coerce(x'78563412BC9AF0DE123456789ABCDEF0', 15, 16, 'T.G')",
         "text:{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
        {"jet_coerce('not-a-guid', 15, 16, 'T.G')", MISMATCH("T.G")},
        {"jet_coerce('12.340', 16, 0, 'T.N')", "text:12.34"},
        {"jet_coerce(12, 16, 0, 'T.N')", "text:12"},
        {"jet_coerce('1e3', 16, 0, 'T.N')", "text:1000"},
        {"jet_coerce('-12.34', 16, 0, 'T.N', 18, 4)", "text:-12.3400"},
        {"jet_coerce(2.345, 16, 0, 'T.N', 18, 2)", "text:2.34"},
        {"jet_coerce(2.355, 16, 0, 'T.N', 18, 2)", "text:2.36"},
        {"jet_coerce(12345, 16, 0, 'T.N', 5, 2)", OVERFLOW("T.N")},
        {"jet_coerce('x', 16, 0, 'T.N')", MISMATCH("T.N")},
        {"jet_coerce(1, 13, 0, 'T.Q')", "error:jet_coerce: unknown Jet column type code 13"},
    };
    expectCases(cases);
}

TEST(CoerceForColumn, ConvertsAndNamesTheColumnInErrors) {
    ColumnDef price;
    price.type = JetType::Decimal;
    price.precision = 10;
    price.scale = 2;
    const struct {
        ColumnCoercion coercion;
        SqlValue value;
        SqlValue expected;
    } cases[] = {
        {{JetType::Byte}, std::string(" 7 "), int64_t{7}},
        {{JetType::Boolean}, SqlValue{}, int64_t{0}},
        {{JetType::Text, 10}, int64_t{5}, std::string("5")},
        {{JetType::Text, 10}, std::string("kept"), std::string("kept")},
        {coercionFor(price), 1.005, std::string("1.00")},
        {coercionFor(price), int64_t{3}, std::string("3.00")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(coerceForColumn(c.value, c.coercion, "T.X"), c.expected) << valueToText(c.value);
    }
    try {
        coerceForColumn(SqlValue{std::string("300")}, {JetType::Byte}, "Orders.Qty");
        FAIL() << "300 must not fit a Byte";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Overflow (field 'Orders.Qty')");
    }
}

// Conversions, tests and choices: Str, Val, C... functions, Nz, IIf, Switch,
// Choose, IsNull, IsNumeric, IsDate.

TEST_F(JetSqlTest, ConversionsGiveJetsResults) {
    const SqlCase cases[] = {
        {"jet_str(5)", "text: 5"},
        {"jet_str(-5)", "text:-5"},
        {"jet_str(2.5)", "text: 2.5"},
        {"jet_str('7')", "text: 7"},
        {"jet_str(NULL)", "null"},
        {"jet_cstr(5)", "text:5"},
        {"jet_cstr(0.1)", "text:0.1"},
        {"jet_cstr(1e15)", "text:1E+15"},
        {"jet_cstr('x')", "text:x"},
        {"jet_cstr(NULL)", "error:Invalid use of Null"},
        // Blanks inside the number are skipped, as in VBA.
        {"jet_val('  12 34abc')", "real:1234"},
        {"jet_val('1.5e2x')", "real:150"},
        {"jet_val('-3.5')", "real:-3.5"},
        {"jet_val('1.2.3')", "real:1.2"},
        {"jet_val('1e')", "real:1"},
        {"jet_val('&HFF')", "real:255"},
        {"jet_val('&HFFFF')", "real:-1"},
        {"jet_val('&O17')", "real:15"},
        {"jet_val('abc')", "real:0"},
        {"jet_val('')", "real:0"},
        {"jet_val(NULL)", "error:Invalid use of Null"},
        {"jet_cint(2.5)", "int:2"},
        {"jet_cint(3.5)", "int:4"},
        {"jet_cint(-2.5)", "int:-2"},
        {"jet_cint(2.51)", "int:3"},
        {"jet_cint('7.5')", "int:8"},
        {"jet_cint(32767.4)", "int:32767"},
        {"jet_cint(32767.5)", "error:Overflow"},
        {"jet_cint(-32768)", "int:-32768"},
        {"jet_cint(-32769)", "error:Overflow"},
        {"jet_cint('abc')", "error:Data type mismatch in criteria expression."},
        {"jet_cint(NULL)", "error:Invalid use of Null"},
        {"jet_clng(2147483647)", "int:2147483647"},
        {"jet_clng(2147483647.5)", "error:Overflow"},
        {"jet_clng(-2147483648.4)", "int:-2147483648"},
        {"jet_cbyte(255)", "int:255"},
        {"jet_cbyte(255.5)", "error:Overflow"},
        {"jet_cbyte(-1)", "error:Overflow"},
        {"jet_ccur(1.23455)", "real:1.2346"},
        {"jet_ccur(1.23445)", "real:1.2344"},
        {"jet_ccur(1e16)", "error:Overflow"},
        // The double nearest to the float nearest to 0.1.
        {"jet_csng(0.1)", "real:0.10000000149011612"},
        {"jet_csng(1e39)", "error:Overflow"},
        {"jet_cdbl('1,234.5')", "real:1234.5"},
        {"jet_cdbl('x')", "error:Data type mismatch in criteria expression."},
        {"jet_cbool('True')", "int:-1"},
        {"jet_cbool('no')", "int:0"},
        {"jet_cbool(2)", "int:-1"},
        {"jet_cbool(0.0)", "int:0"},
        {"jet_cbool('x')", "error:Data type mismatch in criteria expression."},
        // 2024-01-01 is day 45292; March 5 comes 31 + 29 + 4 days later.
        {"jet_cdate('2024-03-05')", "real:45356"},
        {"jet_cdate('3/5/2024 12:00 PM')", "real:45356.5"},
        {"jet_cdate(45356.25)", "real:45356.25"},
        {"jet_cdate('nonsense')", "error:Data type mismatch in criteria expression."},
        {"jet_cdate(3000000)", "error:Overflow"},
        {"jet_cdate(NULL)", "error:Invalid use of Null"},
        {"jet_cvdate(NULL)", "null"},
        {"jet_hex(255)", "text:FF"},
        {"jet_hex(-1)", "text:FFFF"},
        {"jet_oct(8)", "text:10"},
        // In a query Nz(Null) without a second argument is the empty text.
        {"jet_nz(NULL)", "text:"},
        {"jet_nz(NULL, 0)", "int:0"},
        {"jet_nz(5, 0)", "int:5"},
        {"jet_nz('', 'x')", "text:"},
        {"jet_iif(1, 'a', 'b')", "text:a"},
        {"jet_iif(0, 'a', 'b')", "text:b"},
        {"jet_iif(NULL, 'a', 'b')", "text:b"},
        {"jet_iif('True', 1, 2)", "int:1"},
        {"jet_switch(0, 'a', 1, 'b')", "text:b"},
        {"jet_switch(0, 'a', 0, 'b')", "null"},
        {"jet_switch(NULL, 'a', -1, 'c')", "text:c"},
        {"jet_switch(1, 'a', 2)", "error:Invalid procedure call or argument"},
        {"jet_choose(2, 'a', 'b', 'c')", "text:b"},
        {"jet_choose(4, 'a', 'b', 'c')", "null"},
        {"jet_choose(0, 'a')", "null"},
        {"jet_choose(NULL, 'a')", "null"},
        // The index is rounded like a Long: 1.5 -> 2, 2.5 -> 2.
        {"jet_choose(1.5, 'a', 'b', 'c')", "text:b"},
        {"jet_choose(2.5, 'a', 'b', 'c')", "text:b"},
        {"jet_isnull(NULL)", "int:-1"},
        {"jet_isnull('')", "int:0"},
        {"jet_isnumeric('12')", "int:-1"},
        {"jet_isnumeric(' 1e3 ')", "int:-1"},
        {"jet_isnumeric('12a')", "int:0"},
        {"jet_isnumeric('')", "int:0"},
        {"jet_isnumeric(NULL)", "int:0"},
        {"jet_isnumeric(4.5)", "int:-1"},
        {"jet_isdate('2/29/2024')", "int:-1"},
        {"jet_isdate('2/29/2023')", "int:0"},
        {"jet_isdate('Mar 5, 2024')", "int:-1"},
        {"jet_isdate('hello')", "int:0"},
        {"jet_isdate(NULL)", "int:0"},
        // Date columns hold REALs; whole numbers of Long columns are not dates.
        {"jet_isdate(45356.5)", "int:-1"},
        {"jet_isdate(45356)", "int:0"},
    };
    expectCases(cases);
}

// Math functions and the number text helpers.

TEST_F(JetSqlTest, NumericFunctionsGiveJetsResults) {
    const SqlCase cases[] = {
        {"jet_int(2.7)", "real:2"},
        {"jet_int(-2.5)", "real:-3"},
        {"jet_fix(-2.5)", "real:-2"},
        {"jet_int(5)", "int:5"},
        {"jet_int('3.9')", "real:3"},
        {"jet_int(NULL)", "null"},
        {"jet_abs(-3)", "int:3"},
        {"jet_abs(-2.5)", "real:2.5"},
        {"jet_sgn(-0.1)", "int:-1"},
        {"jet_sgn(0)", "int:0"},
        {"jet_sgn('7')", "int:1"},
        // Round is bankers on the decimal digits.
        {"jet_round(2.5)", "real:2"},
        {"jet_round(3.5)", "real:4"},
        {"jet_round(-2.5)", "real:-2"},
        {"jet_round(0.125, 2)", "real:0.12"},
        {"jet_round(0.135, 2)", "real:0.14"},
        {"jet_round(1.005, 2)", "real:1"},
        {"jet_round(1234.5678, 2)", "real:1234.57"},
        {"jet_round(5, 2)", "int:5"},
        {"jet_round(NULL, 2)", "null"},
        {"jet_round(1.5, -1)", "error:Invalid procedure call or argument"},
        {"jet_sqr(16)", "real:4"},
        {"jet_sqr(-1)", "error:Invalid procedure call or argument"},
        {"jet_log(0)", "error:Invalid procedure call or argument"},
        {"jet_exp(0)", "real:1"},
        {"jet_exp(1000)", "error:Overflow"},
        {"jet_atn(0)", "real:0"},
        {"jet_cos(0)", "real:1"},
        {"jet_sqr(NULL)", "null"},
    };
    expectCases(cases);
}

TEST(NumberText, FormatIsShortestRoundTripWithVbaExponents) {
    struct Case {
        double value;
        const char* text;
    } const cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {0.1, "0.1"},
        // Shortest round trip, not VBA's 15 digits (VBA shows 0.3 here).
        {0.1 + 0.2, "0.30000000000000004"},
        {123456.789, "123456.789"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {1e-5, "0.00001"},
        {9.9e-6, "9.9E-06"},
        {-2.5e20, "-2.5E+20"},
        {1e100, "1E+100"},
        {1.5e-300, "1.5E-300"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatJetNumber(c.value), c.text) << c.text;
        const std::string text = formatJetNumber(c.value);
        EXPECT_EQ(std::stod(text), c.value) << "round trip of " << text;
    }
    EXPECT_EQ(formatJetSingle(0.1f), "0.1");
    EXPECT_EQ(formatJetSingle(3.4028235e38f), "3.4028235E+38");
}

TEST(NumberText, ParseAcceptsVbaNumericTexts) {
    struct Case {
        const char* text;
        bool valid;
        double value;
        bool isInteger;
    } const cases[] = {
        {" 5 ", true, 5, true},           {"+7", true, 7, true},
        {"-12", true, -12, true},         {"1e3", true, 1000, false},
        {"5.5", true, 5.5, false},        {"1,234", true, 1234, true},
        {"1,234.5", true, 1234.5, false}, {".5", true, 0.5, false},
        {"2D2", true, 200, false},        {"&HFF", true, 255, true},
        {"&HFFFF", true, -1, true},       {"&H10000", true, 65536, true},
        {"&O777", true, 511, true},       {"", false, 0, false},
        {"abc", false, 0, false},         {"1e", false, 0, false},
        {"-", false, 0, false},           {"1.2.3", false, 0, false},
        {"12a", false, 0, false},         {",5", false, 0, false},
    };
    for (const Case& c : cases) {
        const std::optional<ParsedNumber> parsed = parseJetNumber(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(parsed->value, c.value) << c.text;
            EXPECT_EQ(parsed->isInteger, c.isInteger) << c.text;
        }
    }
    const std::optional<ParsedNumber> huge = parseJetNumber("1e400");
    ASSERT_TRUE(huge.has_value());
    EXPECT_TRUE(std::isinf(huge->value));
}

// Rnd and GenGUID give fresh values each call: their shape is checked, and
// that two calls differ (Rnd(0) repeats the last number, as in VBA).
TEST_F(JetSqlTest, RandomValuesHaveTheirShapeAndDiffer) {
    exec("CREATE TABLE r (n REAL, g TEXT)");
    exec("INSERT INTO r SELECT jet_rnd(), jet_genguid() FROM (SELECT 1 UNION ALL SELECT 2)");
    exec("INSERT INTO r VALUES (jet_rnd(0), NULL)");
    EXPECT_EQ(eval("count(*) FROM r WHERE n >= 0 AND n < 1"), "int:3");
    EXPECT_EQ(eval("count(DISTINCT n) FROM r"), "int:2");
    EXPECT_EQ(eval("count(DISTINCT g) FROM r WHERE g GLOB "
                   "'{[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F]-"
                   "[0-9A-F][0-9A-F][0-9A-F][0-9A-F]-4[0-9A-F][0-9A-F][0-9A-F]-"
                   "[89AB][0-9A-F][0-9A-F][0-9A-F]-*}' AND length(g) = 38"),
              "int:2");
}

TEST(NumberText, ValueToTextUsesTheColumnTypeWhenKnown) {
    EXPECT_EQ(valueToText(SqlValue{}), "");
    EXPECT_EQ(valueToText(SqlValue{int64_t{5}}), "5");
    EXPECT_EQ(valueToText(SqlValue{2.5}), "2.5");
    EXPECT_EQ(valueToText(SqlValue{std::string("x")}), "x");
    EXPECT_EQ(valueToText(SqlValue{45356.5}, JetType::DateTime), "2024-03-05 12:00:00");
    EXPECT_EQ(valueToText(SqlValue{45356.0}, JetType::DateTime), "2024-03-05");
    EXPECT_EQ(valueToText(SqlValue{int64_t{-1}}, JetType::Boolean), "True");
    EXPECT_EQ(valueToText(SqlValue{int64_t{0}}, JetType::Boolean), "False");
    EXPECT_EQ(valueToText(SqlValue{static_cast<double>(0.1f)}, JetType::Single), "0.1");
    EXPECT_EQ(valueToText(SqlValue{static_cast<double>(0.1f)}), "0.10000000149011612");
}

// The operators the translator maps to functions, Like, and First/Last.

TEST_F(JetSqlTest, OperatorsGiveJetsResults) {
    const SqlCase cases[] = {
        // Concatenation treats null as empty unless both are null.
        {"jet_concat('a', 'b')", "text:ab"},
        {"jet_concat(NULL, 'b')", "text:b"},
        {"jet_concat('a', NULL)", "text:a"},
        {"jet_concat('', NULL)", "text:"},
        {"jet_concat(NULL, NULL)", "null"},
        {"jet_concat(1, 2)", "text:12"},
        {"jet_concat('x', 2.5)", "text:x2.5"},
        {"jet_concat('x', 0.1 + 0.2)", "text:x0.30000000000000004"},
        {"jet_add(1, 2)", "int:3"},
        {"jet_add(1.5, 2)", "real:3.5"},
        {"jet_add('a', 'b')", "text:ab"},
        {"jet_add('5', 2)", "int:7"},
        {"jet_add(' 5 ', 2.5)", "real:7.5"},
        {"jet_add(2, '1e3')", "real:1002"},
        {"jet_add('abc', 1)", "error:Data type mismatch in criteria expression."},
        {"jet_add(NULL, 'a')", "null"},
        {"jet_add(1, NULL)", "null"},
        // Past 64 bits the sum continues in floating point.
        {"jet_add(9223372036854775807, 1)", "real:9223372036854775808"},
        {"jet_sub(10, '4')", "int:6"},
        {"jet_mul(2.5, 4)", "real:10"},
        {"jet_div(7, 2)", "real:3.5"},
        {"jet_div(6, 3)", "real:2"},
        {"jet_div('1', 4)", "real:0.25"},
        {"jet_div(1, 0)", "error:Division by zero"},
        // VBA raises Overflow, not "Division by zero", for 0/0 (the FPU
        // reports an invalid operation, not a zero divide).
        {"jet_div(0, 0)", "error:Overflow"},
        {"jet_div(NULL, 0)", "null"},
        // Integer division and mod round operands half to even first.
        {"jet_intdiv(7, 2)", "int:3"},
        {"jet_intdiv(-7, 2)", "int:-3"},
        {"jet_intdiv(2.5, 1)", "int:2"},
        {"jet_intdiv(3.5, 1)", "int:4"},
        {"jet_intdiv(5, 1.5)", "int:2"},
        {"jet_intdiv(5, 0.4)", "error:Division by zero"},
        {"jet_intdiv(3000000000, 2)", "error:Overflow"},
        {"jet_intdiv(NULL, 2)", "null"},
        {"jet_mod(7, 3)", "int:1"},
        {"jet_mod(-7, 3)", "int:-1"},
        {"jet_mod(7, -3)", "int:1"},
        {"jet_mod(10.5, 3)", "int:1"},
        {"jet_mod(11.5, 3)", "int:0"},
        {"jet_mod(5, 0)", "error:Division by zero"},
        {"jet_mod(5, NULL)", "null"},
        {"jet_pow(2, 10)", "real:1024"},
        {"jet_pow(4, 0.5)", "real:2"},
        {"jet_pow(-2, 3)", "real:-8"},
        {"jet_pow(-8, 1.0 / 3)", "error:Invalid procedure call or argument"},
        {"jet_pow(NULL, 2)", "null"},
        {"jet_not(0)", "int:-1"},
        {"jet_not(-1)", "int:0"},
        {"jet_not(5)", "int:0"},
        {"jet_not(NULL)", "null"},
        {"jet_bool(1 = 1)", "int:-1"},
        {"jet_bool(1 = 2)", "int:0"},
        {"jet_bool(NULL)", "null"},
        {"jet_like('abc', 'a%')", "int:-1"},
        {"jet_like('ABC', 'a_c')", "int:-1"},
        {"jet_like('abc', 'a_')", "int:0"},
        {"jet_like('', '%')", "int:-1"},
        {"jet_like('', '_')", "int:0"},
        {"jet_like('abcbc', '%bc')", "int:-1"},
        {"jet_like('abcbd', '%bc')", "int:0"},
        {"jet_like('axxbyyc', 'a%b%c')", "int:-1"},
        {"jet_like('b', '[a-c]')", "int:-1"},
        {"jet_like('B', '[a-c]')", "int:-1"},
        {"jet_like('d', '[a-c]')", "int:0"},
        {"jet_like('d', '[!a-c]')", "int:-1"},
        {"jet_like('b', '[!a-c]')", "int:0"},
        {"jet_like('x7', 'x[0-9]')", "int:-1"},
        {"jet_like('y', '[xyz]')", "int:-1"},
        {"jet_like('50%', '50[%]')", "int:-1"},
        {"jet_like('500', '50[%]')", "int:0"},
        {"jet_like('a-b', 'a[-]b')", "int:-1"},
        // ANSI-92: '*' and '?' are ordinary characters.
        {"jet_like('a*c', 'a*c')", "int:-1"},
        {"jet_like('abc', 'a*c')", "int:0"},
        // Accents count, case does not; ranges follow the text order.
        {"jet_like('éa', 'e%')", "int:0"},
        {"jet_like('Éa', 'é%')", "int:-1"},
        {"jet_like('é', '[a-z]')", "int:-1"},
        {"jet_like(123, '1%')", "int:-1"},
        {"jet_like(NULL, '%')", "null"},
        {"jet_like('a', NULL)", "null"},
        {"jet_like('a', '[a')", "error:Invalid pattern string"},
    };
    expectCases(cases);
}

TEST_F(JetSqlTest, LikeWithAPatternThatChangesPerRow) {
    exec("CREATE TABLE t(v TEXT, p TEXT)");
    exec("INSERT INTO t VALUES ('abc', 'a%'), ('abc', 'b%'), ('bcd', 'b%'), ('bcd', '%d')");
    EXPECT_EQ(rows("SELECT jet_like(v, p) FROM t ORDER BY rowid"), "int:-1;int:0;int:-1;int:-1");
}

TEST_F(JetSqlTest, FirstAndLastKeepRowsInInputOrderIncludingNull) {
    exec("CREATE TABLE t(v)");
    exec("INSERT INTO t VALUES (NULL), ('b'), (3), ('last')");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t"), "null|text:last");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t WHERE rowid BETWEEN 2 AND 3"),
              "text:b|int:3");
    EXPECT_EQ(rows("SELECT jet_first(v), jet_last(v) FROM t WHERE 0"), "null|null");
}

TEST_F(JetSqlTest, DeviationAndVarianceIgnoreNulls) {
    exec("CREATE TABLE t(v)");
    // Mean 5, squared deviations sum to 32 over 8 values.
    exec("INSERT INTO t VALUES (2), (4), (4), (NULL), (4), (5), (5), (7), ('9')");
    auto number = [&](const char* sql) {
        const std::string value = rows(sql);
        EXPECT_EQ(value.rfind("real:", 0), 0u) << sql << " gave " << value;
        return value.rfind("real:", 0) == 0 ? std::stod(value.substr(5)) : -1.0;
    };
    EXPECT_NEAR(number("SELECT jet_varp(v) FROM t"), 4.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_stdevp(v) FROM t"), 2.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_var(v) FROM t"), 32.0 / 7.0, 1e-12);
    EXPECT_NEAR(number("SELECT jet_stdev(v) FROM t"), std::sqrt(32.0 / 7.0), 1e-12);
    // One value has no sample spread; none has no spread at all.
    EXPECT_EQ(rows("SELECT jet_var(v), jet_varp(v) FROM t WHERE rowid = 1"), "null|real:0");
    EXPECT_EQ(rows("SELECT jet_stdev(v), jet_stdevp(v) FROM t WHERE 0"), "null|null");
    exec("INSERT INTO t VALUES ('x')");
    EXPECT_EQ(rows("SELECT jet_var(v) FROM t"), "error:Data type mismatch in criteria expression.");
}

// String functions. Lengths and positions count UTF-16 units, so the emoji
// U+1F600 (4 bytes in UTF-8) counts 2, and cutting it in half leaves U+FFFD.

#define EMOJI "\xF0\x9F\x98\x80"
#define REPLACEMENT "\xEF\xBF\xBD"

TEST_F(JetSqlTest, TextFunctionsGiveJetsResults) {
    const SqlCase cases[] = {
        {"jet_len('abc')", "int:3"},
        {"jet_len('')", "int:0"},
        {"jet_len(NULL)", "null"},
        {"jet_len(12.5)", "int:4"},
        {"jet_len('été')", "int:3"},
        {"jet_len('a" EMOJI "')", "int:3"},
        {"jet_mid('abcdef', 2, 3)", "text:bcd"},
        {"jet_mid('abcdef', 4)", "text:def"},
        {"jet_mid('abc', 5)", "text:"},
        {"jet_mid('abc', 2, 0)", "text:"},
        {"jet_mid('héllo', 2, 2)", "text:él"},
        {"jet_mid('abc', 0)", "error:Invalid procedure call or argument"},
        {"jet_mid('abc', 1, -1)", "error:Invalid procedure call or argument"},
        {"jet_mid(NULL, 1)", "null"},
        // VBA's start and length are Longs: Null there cannot be converted.
        {"jet_mid('abc', NULL)", "error:Invalid use of Null"},
        {"jet_mid('abc', 1.5, 1)", "text:b"},
        {"jet_mid('a" EMOJI "b', 2, 2)", "text:" EMOJI},
        {"jet_mid('a" EMOJI "b', 3, 2)", "text:" REPLACEMENT "b"},
        {"jet_mid('a" EMOJI "b', 2, 1)", "text:" REPLACEMENT},
        {"jet_left('abc', 2)", "text:ab"},
        {"jet_left('abc', 5)", "text:abc"},
        {"jet_left('abc', -1)", "error:Invalid procedure call or argument"},
        {"jet_left(NULL, 1)", "null"},
        {"jet_right('abc', 2)", "text:bc"},
        {"jet_right('abc', 10)", "text:abc"},
        {"jet_right('x" EMOJI "', 2)", "text:" EMOJI},
        {"jet_instr('abcabc', 'c')", "int:3"},
        {"jet_instr(4, 'abcabc', 'c')", "int:6"},
        {"jet_instr('abc', 'z')", "int:0"},
        // Text compare by default, as in Access queries.
        {"jet_instr('abc', 'B')", "int:2"},
        {"jet_instr(1, 'abc', 'B', 0)", "int:0"},
        {"jet_instr(1, 'abc', 'B', 1)", "int:2"},
        {"jet_instr('ÉCOLE', 'é')", "int:1"},
        {"jet_instr('ecole', 'é')", "int:0"},
        {"jet_instr('" EMOJI "x', 'x')", "int:3"},
        {"jet_instr('abc', '')", "int:1"},
        {"jet_instr(2, 'abc', '')", "int:2"},
        {"jet_instr('', 'a')", "int:0"},
        {"jet_instr(5, 'abc', 'a')", "int:0"},
        {"jet_instr(NULL, 'a')", "null"},
        {"jet_instr('a', NULL)", "null"},
        {"jet_instr(0, 'abc', 'a')", "error:Invalid procedure call or argument"},
        {"jet_instr(NULL, 'abc', 'a')", "error:Invalid use of Null"},
        {"jet_ucase('abcé')", "text:ABCÉ"},
        {"jet_lcase('ÀB')", "text:àb"},
        {"jet_ucase(NULL)", "null"},
        {"jet_trim('  a b  ')", "text:a b"},
        {"jet_ltrim('  a ')", "text:a "},
        {"jet_rtrim(' a  ')", "text: a"},
        // Only spaces are trimmed.
        {"jet_trim(char(9) || 'a ')", "text:\ta"},
        {"jet_space(3)", "text:   "},
        {"jet_space(-1)", "error:Invalid procedure call or argument"},
        {"jet_string(3, 'xy')", "text:xxx"},
        {"jet_string(2, 65)", "text:AA"},
        {"jet_string(2, 321)", "text:AA"},
        {"jet_string(NULL, 'a')", "null"},
        {"jet_string(2, '')", "error:Invalid procedure call or argument"},
        {"jet_strreverse('abc')", "text:cba"},
        {"jet_strreverse('aé')", "text:éa"},
        // Character codes use windows1252.
        {"jet_chr(65)", "text:A"},
        {"jet_chr(128)", "text:€"},
        {"jet_chr(233)", "text:é"},
        {"jet_chr(256)", "error:Invalid procedure call or argument"},
        {"jet_chr(NULL)", "error:Invalid use of Null"},
        {"jet_asc('A')", "int:65"},
        {"jet_asc('€uro')", "int:128"},
        {"jet_asc('Ω')", "int:63"},
        {"jet_asc('')", "error:Invalid procedure call or argument"},
        {"jet_ascw('€')", "int:8364"},
        {"jet_chrw(8364)", "text:€"},
        {"jet_strcomp('abc', 'ABC')", "int:0"},
        {"jet_strcomp('abc', 'ABC', 0)", "int:1"},
        {"jet_strcomp('a', 'b')", "int:-1"},
        {"jet_strcomp('é', 'e')", "int:1"},
        {"jet_strcomp(NULL, 'a')", "null"},
        {"jet_replace('aXbxc', 'x', '-')", "text:a-b-c"},
        {"jet_replace('aXbxc', 'x', '-', 1, -1, 0)", "text:aXb-c"},
        // The result starts at `start`, as in VBA.
        {"jet_replace('abcabc', 'b', '', 3)", "text:cac"},
        {"jet_replace('aaa', 'a', 'b', 1, 2)", "text:bba"},
        {"jet_replace('abc', '', 'x')", "text:abc"},
        {"jet_replace('ééé', 'É', 'e')", "text:eee"},
        // Replace takes Strings in VBA: Null is refused, as Access queries show #Error.
        {"jet_replace(NULL, 'a', 'b')", "error:Invalid use of Null"},
    };
    expectCases(cases);
}

// Date functions. 2024-03-05 was a Tuesday.

TEST_F(JetSqlTest, DateFunctionsGiveJetsResults) {
    const SqlCase cases[] = {
        {"jet_dateadd('m', 1, '2024-01-31')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('m', 1, '2023-01-31')", "date:2023-02-28 00:00:00"},
        {"jet_dateadd('m', -1, '2024-03-31')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('yyyy', 1, '2024-02-29')", "date:2025-02-28 00:00:00"},
        {"jet_dateadd('q', 1, '2024-11-30 10:30')", "date:2025-02-28 10:30:00"},
        {"jet_dateadd('M', 13, '2024-01-15')", "date:2025-02-15 00:00:00"},
        // The count is rounded half to even: 1.5 months are 2.
        {"jet_dateadd('m', 1.5, '2024-01-15')", "date:2024-03-15 00:00:00"},
        {"jet_dateadd('d', 1, '2024-02-28')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('y', 2, '2024-02-28')", "date:2024-03-01 00:00:00"},
        {"jet_dateadd('w', -1, '2024-03-01')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('ww', 2, '2024-03-05')", "date:2024-03-19 00:00:00"},
        {"jet_dateadd('h', 25, '2024-03-05')", "date:2024-03-06 01:00:00"},
        {"jet_dateadd('n', -30, '2024-03-05')", "date:2024-03-04 23:30:00"},
        {"jet_dateadd('s', 90, '2024-03-05 23:59:00')", "date:2024-03-06 00:00:30"},
        // Across 1899-12-30, where the serial's sign flips.
        {"jet_dateadd('d', 1, '1899-12-29 06:00')", "date:1899-12-30 06:00:00"},
        {"jet_dateadd('d', -1, '1899-12-30 06:00')", "date:1899-12-29 06:00:00"},
        {"jet_dateadd('h', -12, '1899-12-30 06:00')", "date:1899-12-29 18:00:00"},
        {"jet_dateadd('m', 1, NULL)", "null"},
        {"jet_dateadd('x', 1, '2024-03-05')", "error:Invalid procedure call or argument"},
        {"jet_dateadd('yyyy', 1, '9999-06-01')", "error:Invalid procedure call or argument"},
        // Date diff counts boundaries crossed.
        {"jet_datediff('yyyy', '2023-12-31', '2024-01-01')", "int:1"},
        {"jet_datediff('yyyy', '2024-01-01', '2024-12-31')", "int:0"},
        {"jet_datediff('yyyy', '2024-01-01', '2022-12-31')", "int:-2"},
        {"jet_datediff('q', '2024-03-31', '2024-04-01')", "int:1"},
        {"jet_datediff('m', '2024-01-31', '2024-02-01')", "int:1"},
        {"jet_datediff('d', '2024-03-05 23:00', '2024-03-06 01:00')", "int:1"},
        {"jet_datediff('d', '2024-03-06', '2024-03-05')", "int:-1"},
        {"jet_datediff('y', '2024-01-01', '2025-01-01')", "int:366"},
        {"jet_datediff('h', '2024-03-05 10:59', '2024-03-05 11:01')", "int:1"},
        {"jet_datediff('n', '2024-03-05 10:00:59', '2024-03-05 10:01:00')", "int:1"},
        {"jet_datediff('s', '2024-03-05 10:00:59', '2024-03-05 10:01:00')", "int:1"},
        {"jet_datediff('d', '1899-12-29 18:00', '1899-12-30 06:00')", "int:1"},
        {"jet_datediff('h', '1899-12-29 18:00', '1899-12-30 06:00')", "int:12"},
        {"jet_datediff('yyyy', NULL, '2024-01-01')", "null"},
        // "ww" counts week starts (Sundays by default) after date1 up to date2.
        {"jet_datediff('ww', '2024-03-09', '2024-03-10')", "int:1"},
        {"jet_datediff('ww', '2024-03-10', '2024-03-16')", "int:0"},
        {"jet_datediff('ww', '2024-03-10', '2024-03-17')", "int:1"},
        {"jet_datediff('ww', '2024-03-17', '2024-03-09')", "int:-2"},
        {"jet_datediff('ww', '2024-03-09', '2024-03-10', 2)", "int:0"},
        {"jet_datediff('ww', '2024-03-10', '2024-03-11', 2)", "int:1"},
        // "w" counts whole weeks.
        {"jet_datediff('w', '2024-03-10', '2024-03-16')", "int:0"},
        {"jet_datediff('w', '2024-03-05', '2024-03-19')", "int:2"},
        {"jet_datediff('w', '2024-03-19', '2024-03-06')", "int:-1"},
        {"jet_datediff('ww', '2024-03-05', '2024-03-19', 8)",
         "error:Invalid procedure call or argument"},
        {"jet_datepart('q', '2024-08-15')", "int:3"},
        {"jet_datepart('y', '2024-03-01')", "int:61"},
        {"jet_datepart('w', '2024-03-05')", "int:3"},
        {"jet_datepart('w', '2024-03-05', 2)", "int:2"},
        // 2024-01-01 is a Monday: week 1 runs from Sunday Dec 31 to Jan 6.
        {"jet_datepart('ww', '2024-01-06')", "int:1"},
        {"jet_datepart('ww', '2024-01-07')", "int:2"},
        // Friday 2021-01-01 with Monday weeks and four-day first weeks belongs
        // to week 53 of 2020.
        {"jet_datepart('ww', '2021-01-01', 2, 2)", "int:53"},
        {"jet_datepart('ww', '2021-01-04', 2, 2)", "int:1"},
        {"jet_datepart('ww', '2021-01-03', 1, 3)", "int:1"},
        {"jet_datepart('h', '2024-03-05 14:07:09')", "int:14"},
        {"jet_datepart('yyyy', NULL)", "null"},
        {"jet_weekday('2024-03-05')", "int:3"},
        {"jet_weekday('2024-03-10')", "int:1"},
        {"jet_weekday('2024-03-05', 2)", "int:2"},
        {"jet_weekday('1899-12-30')", "int:7"},
        {"jet_weekday('1899-12-29 06:00')", "int:6"},
        {"jet_year('2024-03-05 14:07:09')", "int:2024"},
        {"jet_month('2024-03-05')", "int:3"},
        {"jet_day(45356)", "int:5"},
        // -1.25 is 1899-12-29 06:00.
        {"jet_year(-1.25)", "int:1899"},
        {"jet_day(-1.25)", "int:29"},
        {"jet_hour(-1.25)", "int:6"},
        {"jet_hour(0.75)", "int:18"},
        {"jet_minute('14:07:09')", "int:7"},
        {"jet_second('2:07:09 PM')", "int:9"},
        {"jet_month(NULL)", "null"},
        {"jet_year('garbage')", "error:Data type mismatch in criteria expression."},
        {"jet_monthname(3)", "text:March"},
        {"jet_monthname(3, -1)", "text:Mar"},
        {"jet_monthname(13)", "error:Invalid procedure call or argument"},
        {"jet_weekdayname(1)", "text:Sunday"},
        {"jet_weekdayname(1, 0, 2)", "text:Monday"},
        {"jet_weekdayname(7, -1)", "text:Sat"},
        {"jet_dateserial(2024, 13, 1)", "date:2025-01-01 00:00:00"},
        {"jet_dateserial(2024, 3, 0)", "date:2024-02-29 00:00:00"},
        {"jet_dateserial(2024, 1, 0)", "date:2023-12-31 00:00:00"},
        {"jet_dateserial(2023, 2, 29)", "date:2023-03-01 00:00:00"},
        {"jet_dateserial(2024, 0, 1)", "date:2023-12-01 00:00:00"},
        {"jet_dateserial(2024, -1, 1)", "date:2023-11-01 00:00:00"},
        {"jet_dateserial(2024, 1, 366)", "date:2024-12-31 00:00:00"},
        {"jet_dateserial(24, 1, 1)", "date:2024-01-01 00:00:00"},
        {"jet_dateserial(99, 1, 1)", "date:1999-01-01 00:00:00"},
        {"jet_dateserial(1800, 2, 29)", "date:1800-03-01 00:00:00"},
        {"jet_dateserial(1600, 2, 29)", "date:1600-02-29 00:00:00"},
        {"jet_dateserial(10000, 1, 1)", "error:Invalid procedure call or argument"},
        // VBA's Integer parameters would raise "Invalid use of Null"; a query
        // shows Null for a Null part, which DateSerial(Year(x), ...) relies on.
        {"jet_dateserial(NULL, 1, 1)", "null"},
        {"jet_timeserial(14, 7, 9)", "date:1899-12-30 14:07:09"},
        {"jet_timeserial(25, 0, 0)", "date:1899-12-31 01:00:00"},
        {"jet_timeserial(0, 90, 0)", "date:1899-12-30 01:30:00"},
        {"jet_datevalue('2024-03-05 14:07:09')", "date:2024-03-05 00:00:00"},
        {"jet_datevalue('1899-12-29 06:00')", "date:1899-12-29 00:00:00"},
        {"jet_timevalue('2024-03-05 14:07:09')", "date:1899-12-30 14:07:09"},
        {"jet_timevalue(-1.25)", "date:1899-12-30 06:00:00"},
    };
    expectCases(cases);
}

TEST_F(JetSqlTest, ClockFunctionsAgree) {
    const std::string now = eval("jet_now()", true);
    const std::string today = eval("jet_date()", true);
    ASSERT_EQ(now.rfind("date:", 0), 0u) << now;
    // Date() is Now() at midnight (unless the test straddles midnight).
    EXPECT_EQ(today.substr(0, 15), now.substr(0, 15));
    EXPECT_EQ(today.substr(15), " 00:00:00");
    const std::string time = eval("jet_time()", true);
    EXPECT_EQ(time.substr(0, 15), "date:1899-12-30");
}

// Format with numeric, date and text patterns. The engine formats without
// regional settings: '.' decimals, ',' thousands, US-English named formats.

TEST_F(JetSqlTest, FormatGivesJetsText) {
    const SqlCase cases[] = {
        {"jet_format(1234.5678, '0')", "text:1235"},
        {"jet_format(1234.5678, '0.00')", "text:1234.57"},
        {"jet_format(1234.5678, '#,##0.00')", "text:1,234.57"},
        {"jet_format(1234567.891, '#,##0')", "text:1,234,568"},
        {"jet_format(-1234.5, '#,##0.00')", "text:-1,234.50"},
        {"jet_format(0.5, '0%')", "text:50%"},
        {"jet_format(0.125, '0.0%')", "text:12.5%"},
        // Format rounds half away from zero, unlike Round.
        {"jet_format(0.125, '0.00')", "text:0.13"},
        {"jet_format(2.5, '0')", "text:3"},
        {"jet_format(5, '000')", "text:005"},
        {"jet_format(0.5, '#.##')", "text:.5"},
        {"jet_format(5, '#.##')", "text:5."},
        {"jet_format(1.5, '0.0#')", "text:1.5"},
        {"jet_format(1.456, '0.0#')", "text:1.46"},
        {"jet_format(1234567, '#,##0,')", "text:1,235"},
        {"jet_format(5551234, '000-0000')", "text:555-1234"},
        {"jet_format(0.000123, '0.00E-00')", "text:1.23E-04"},
        {"jet_format(9.999, '0.00E+00')", "text:1.00E+01"},
        {"jet_format(1.125, '0.00E+00')", "text:1.13E+00"},
        {"jet_format(42, '\"No. \"0')", "text:No. 42"},
        {"jet_format(42, '0\\%')", "text:42%"},
        {"jet_format('12.5', '0.00')", "text:12.50"},
        {"jet_format('abc', '0.00')", "text:abc"},
        {"jet_format(-5, '0;(0)')", "text:(5)"},
        {"jet_format(5, '0;(0)')", "text:5"},
        {"jet_format(0, '0;(0);\"zero\"')", "text:zero"},
        {"jet_format(-5, '0;;\"zero\"')", "text:-5"},
        {"jet_format(NULL, '0;(0);\"zero\";\"none\"')", "text:none"},
        // Without a fourth section Format(Null) stays Null, like most functions.
        {"jet_format(NULL, '0.00')", "null"},
        // No sign on a value that shows as zero.
        {"jet_format(-0.001, '0.00')", "text:0.00"},
        {"jet_format(1234.5, 'General Number')", "text:1234.5"},
        {"jet_format(1234.5, 'Fixed')", "text:1234.50"},
        {"jet_format(-1234.567, 'fixed')", "text:-1234.57"},
        {"jet_format(1234.5, 'Standard')", "text:1,234.50"},
        {"jet_format(0.1234, 'Percent')", "text:12.34%"},
        {"jet_format(123456, 'Scientific')", "text:1.23E+05"},
        // Neutral currency sign, invariant-culture layout.
        {"jet_format(1234.5, 'Currency')", "text:¤1,234.50"},
        {"jet_format(-1234.5, 'Currency')", "text:(¤1,234.50)"},
        {"jet_format(1, 'Yes/No')", "text:Yes"},
        {"jet_format(0, 'True/False')", "text:False"},
        {"jet_format(-1, 'On/Off')", "text:On"},
        {"jet_format('2024-03-05 14:07:09', 'yyyy-mm-dd')", "text:2024-03-05"},
        {"jet_format('2024-03-05 14:07:09', 'dd/mm/yyyy')", "text:05/03/2024"},
        {"jet_format('2024-03-05 14:07:09', 'hh:nn:ss')", "text:14:07:09"},
        {"jet_format('2024-03-05 14:07:09', 'hh:mm')", "text:14:07"},
        {"jet_format('2024-03-05 14:07:09', 'yyyy')", "text:2024"},
        {"jet_format('2024-03-05 14:07:09', 'yy')", "text:24"},
        {"jet_format('2024-03-05 14:07:09', 'mmm')", "text:Mar"},
        {"jet_format('2024-03-05 14:07:09', 'mmmm')", "text:March"},
        {"jet_format('2024-03-05 14:07:09', 'ddd')", "text:Tue"},
        {"jet_format('2024-03-05 14:07:09', 'dddd')", "text:Tuesday"},
        {"jet_format('2024-03-05 14:07:09', 'd-m-yy')", "text:5-3-24"},
        {"jet_format('2024-03-05 14:07:09', 'h:nn am/pm')", "text:2:07 pm"},
        {"jet_format('2024-03-05 09:07:09', 'h:nn AM/PM')", "text:9:07 AM"},
        {"jet_format('2024-03-05 00:30:00', 'hh:nn AMPM')", "text:12:30 AM"},
        {"jet_format('2024-03-05 14:07:09', 'h a/p')", "text:2 p"},
        {"jet_format('2024-03-05 14:07:09', 'd mmm yyyy \"at\" h')", "text:5 Mar 2024 at 14"},
        {"jet_format('2024-03-05 14:07:09', 'q')", "text:1"},
        {"jet_format('2024-03-05 14:07:09', 'y')", "text:65"},
        {"jet_format('2024-03-05 14:07:09', 'ww')", "text:10"},
        {"jet_format('2024-03-05 14:07:09', 'w')", "text:3"},
        {"jet_format(45356, 'yyyy-mm-dd')", "text:2024-03-05"},
        {"jet_format('1899-12-29 06:00', 'yyyy-mm-dd hh:nn')", "text:1899-12-29 06:00"},
        {"jet_format('0100-01-01', 'yyyy-mm-dd')", "text:0100-01-01"},
        {"jet_format('2024-03-05 14:07:09', 'Short Date')", "text:3/5/2024"},
        {"jet_format('2024-03-05 14:07:09', 'Medium Date')", "text:05-Mar-24"},
        {"jet_format('2024-03-05 14:07:09', 'Long Date')", "text:Tuesday, March 5, 2024"},
        {"jet_format('2024-03-05 14:07:09', 'General Date')", "text:3/5/2024 2:07:09 PM"},
        {"jet_format('2024-03-05 14:07:09', 'Short Time')", "text:14:07"},
        {"jet_format('2024-03-05 14:07:09', 'Medium Time')", "text:02:07 PM"},
        {"jet_format('2024-03-05 14:07:09', 'Long Time')", "text:2:07:09 PM"},
        {"jet_format(45356, 'General Date')", "text:3/5/2024"},
        // The date part of 1899-12-30 is not shown, as CStr of a time does.
        {"jet_format(0, 'General Date')", "text:12:00:00 AM"},
        {"jet_format(0.5, 'Short Time')", "text:12:00"},
        {"jet_format('2024-03-05 14:07:09', 'c')", "text:3/5/2024 2:07:09 PM"},
        {"jet_format('2024-03-05 14:07:09', 'ddddd')", "text:3/5/2024"},
        {"jet_format(2.5)", "text:2.5"},
        {"jet_format(5)", "text:5"},
        {"jet_format('abc')", "text:abc"},
        {"jet_format(NULL)", "null"},
        {"jet_format(2.5, '')", "text:2.5"},
        {"jet_format('abc', '>')", "text:ABC"},
        {"jet_format('ABC', '<')", "text:abc"},
        {"jet_format('abc', '@@@@@')", "text:  abc"},
        {"jet_format('abc', '!@@@@@')", "text:abc  "},
        {"jet_format('5551234', '@@@-@@@@')", "text:555-1234"},
        {"jet_format('ab', '&&&')", "text:ab"},
        {"jet_format('abcd', '@@')", "text:abcd"},
    };
    expectCases(cases);
}

}  // namespace
}  // namespace orvdb::engine::testing
