// Jet date values: parsing, parts, text form. Expected serials come from
// std::chrono (jetSerial), not from the code under test.
#include "engine/jet_datetime.hpp"
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

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
    EXPECT_TRUE(jetDateFromParts({2000, 2, 29}).has_value());
    EXPECT_TRUE(jetDateFromParts({2024, 2, 29}).has_value());
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
    EXPECT_EQ(p.day, 6);
    EXPECT_EQ(p.hour, 0);
    EXPECT_EQ(p.second, 0);
    const DateParts q = jetDateToParts(45356.0 + 1.4 / 86400);
    EXPECT_EQ(q.second, 1);
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

}  // namespace
}  // namespace orvdb::engine::testing
