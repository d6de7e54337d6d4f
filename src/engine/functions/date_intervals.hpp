// VBA's date arithmetic on Jet date values: DateAdd, DateDiff, DatePart and
// Weekday. Arithmetic runs on whole seconds of a straight time line
// (jetDateToSeconds), so dates before 1899-12-30 behave like any other.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvdb::engine::functions {

enum class DateInterval {
    Year,       // "yyyy"
    Quarter,    // "q"
    Month,      // "m"
    DayOfYear,  // "y"
    Day,        // "d"
    Weekday,    // "w"
    Week,       // "ww"
    Hour,       // "h"
    Minute,     // "n"
    Second,     // "s"
};

// The interval codes, any letter case; nullopt for others.
std::optional<DateInterval> parseDateInterval(std::string_view code);

// First day of the week: 1 Sunday .. 7 Saturday; 0 (the system's) is Sunday.
// First week of the year: 1 the week of January 1, 2 the first week with four
// days, 3 the first full week; 0 (the system's) is 1. Other values raise
// "Invalid procedure call or argument".
int checkFirstDayOfWeek(long value);
int checkFirstWeekOfYear(long value);

// Adds `count` intervals. Months, quarters and years keep the day when the
// target month has it and clamp to its last day otherwise (Jan 31 + 1 month
// is Feb 28 or 29). Raises "Invalid procedure call or argument" when the
// result leaves the calendar.
double dateAdd(DateInterval interval, int64_t count, double date);

// VBA's DateDiff counts boundaries crossed from d1 to d2: "yyyy" year
// boundaries, "m" month boundaries, "d"/"y" midnights, "h" hour boundaries,
// "ww" week starts (firstDayOfWeek), "w" whole weeks of seven days.
int64_t dateDiff(DateInterval interval, double d1, double d2, int firstDayOfWeek);

int64_t datePart(DateInterval interval, double date, int firstDayOfWeek, int firstWeekOfYear);

// 1..7 counted from firstDayOfWeek.
int weekdayOf(double date, int firstDayOfWeek);
int weekdayOfDay(int64_t dayNumber, int firstDayOfWeek);

}  // namespace orvdb::engine::functions
