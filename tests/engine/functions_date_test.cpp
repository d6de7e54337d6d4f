// Date functions. Expected dates are written as calendar text; evalDate
// decodes the REAL result with std::chrono. 2024-03-05 was a Tuesday.
#include "functions_test_support.hpp"

namespace orvdb::engine::testing {
namespace {

using DateFunctionsTest = JetSqlTest;

TEST_F(DateFunctionsTest, DateFunctionsGiveJetsResults) {
    const SqlCase cases[] = {
        // Date add clamps to month ends.
        {"jet_dateadd('m', 1, '2024-01-31')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('m', 1, '2023-01-31')", "date:2023-02-28 00:00:00"},
        {"jet_dateadd('m', -1, '2024-03-31')", "date:2024-02-29 00:00:00"},
        {"jet_dateadd('yyyy', 1, '2024-02-29')", "date:2025-02-28 00:00:00"},
        {"jet_dateadd('q', 1, '2024-11-30 10:30')", "date:2025-02-28 10:30:00"},
        {"jet_dateadd('M', 13, '2024-01-15')", "date:2025-02-15 00:00:00"},
        // The count is rounded half to even: 1.5 months are 2.
        {"jet_dateadd('m', 1.5, '2024-01-15')", "date:2024-03-15 00:00:00"},
        // Date add days weeks and times.
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
        // Date diff weeks.
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
        // Date part and weekday.
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
        // Date and time parts.
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
        // Date serial rolls over like vba.
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

TEST_F(DateFunctionsTest, ClockFunctionsAgree) {
    const std::string now = evalDate("jet_now()");
    const std::string today = evalDate("jet_date()");
    ASSERT_EQ(now.rfind("date:", 0), 0u) << now;
    // Date() is Now() at midnight (unless the test straddles midnight).
    EXPECT_EQ(today.substr(0, 15), now.substr(0, 15));
    EXPECT_EQ(today.substr(15), " 00:00:00");
    const std::string time = evalDate("jet_time()");
    EXPECT_EQ(time.substr(0, 15), "date:1899-12-30");
}

}  // namespace
}  // namespace orvdb::engine::testing
