#include "engine/functions/date_intervals.hpp"

#include "engine/functions/raise.hpp"
#include "engine/jet_datetime.hpp"

#include <algorithm>
#include <cctype>
#include <string>

namespace orvdb::engine::functions {

namespace {

constexpr int64_t kDay = 86400;

int64_t dayNumberOf(double date) {
    return floorDiv(jetDateToSeconds(date), kDay);
}

double checkedDate(int64_t seconds) {
    const double value = jetDateFromSeconds(seconds);
    if (!isJetDateInRange(value)) {
        raiseInvalidCall();
    }
    return value;
}

double addMonths(double date, int64_t months) {
    const int64_t seconds = jetDateToSeconds(date);
    const int64_t days = floorDiv(seconds, kDay);
    const int64_t time = seconds - days * kDay;
    int year = 0;
    int month = 0;
    int day = 0;
    jetCivilDate(days, year, month, day);
    // Keep far-off counts from overflowing: anything beyond the calendar fails.
    if (months > 200000 || months < -200000) {
        raiseInvalidCall();
    }
    const int64_t total = static_cast<int64_t>(year) * 12 + (month - 1) + months;
    const int newYear = static_cast<int>(floorDiv(total, 12));
    const int newMonth = static_cast<int>(floorMod(total, 12)) + 1;
    if (newYear < 100 || newYear > 9999) {
        raiseInvalidCall();
    }
    const int newDay = std::min(day, jetDaysInMonth(newYear, newMonth));
    return checkedDate(jetDayNumber(newYear, newMonth, newDay) * kDay + time);
}

// The first day of week 1 of `year`.
int64_t firstWeekStart(int year, int firstDayOfWeek, int firstWeekOfYear) {
    const int64_t jan1 = jetDayNumber(year, 1, 1);
    const int wd = weekdayOfDay(jan1, firstDayOfWeek);
    switch (firstWeekOfYear) {
        case 2:  // the first week with at least four days in the year
            return wd <= 4 ? jan1 - (wd - 1) : jan1 + (8 - wd);
        case 3:  // the first full week
            return wd == 1 ? jan1 : jan1 + (8 - wd);
        default:  // the week of January 1
            return jan1 - (wd - 1);
    }
}

}  // namespace

std::optional<DateInterval> parseDateInterval(std::string_view code) {
    std::string lower;
    for (char c : code) {
        if (c != ' ') {
            lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    if (lower == "yyyy") {
        return DateInterval::Year;
    }
    if (lower == "q") {
        return DateInterval::Quarter;
    }
    if (lower == "m") {
        return DateInterval::Month;
    }
    if (lower == "y") {
        return DateInterval::DayOfYear;
    }
    if (lower == "d") {
        return DateInterval::Day;
    }
    if (lower == "w") {
        return DateInterval::Weekday;
    }
    if (lower == "ww") {
        return DateInterval::Week;
    }
    if (lower == "h") {
        return DateInterval::Hour;
    }
    if (lower == "n") {
        return DateInterval::Minute;
    }
    if (lower == "s") {
        return DateInterval::Second;
    }
    return std::nullopt;
}

int checkFirstDayOfWeek(long value) {
    if (value < 0 || value > 7) {
        raiseInvalidCall();
    }
    return value == 0 ? 1 : static_cast<int>(value);
}

int checkFirstWeekOfYear(long value) {
    if (value < 0 || value > 3) {
        raiseInvalidCall();
    }
    return value == 0 ? 1 : static_cast<int>(value);
}

int weekdayOfDay(int64_t dayNumber, int firstDayOfWeek) {
    // Day 1 (1899-12-31) was a Sunday.
    const int64_t sundayBased = floorMod(dayNumber - 1, 7);  // 0 = Sunday
    return static_cast<int>(floorMod(sundayBased - (firstDayOfWeek - 1), 7)) + 1;
}

int weekdayOf(double date, int firstDayOfWeek) {
    return weekdayOfDay(dayNumberOf(date), firstDayOfWeek);
}

double dateAdd(DateInterval interval, int64_t count, double date) {
    // Beyond these counts every interval leaves the calendar; checking first
    // keeps the products below from overflowing.
    if (count > 400000000000LL || count < -400000000000LL) {
        raiseInvalidCall();
    }
    const int64_t seconds = jetDateToSeconds(date);
    switch (interval) {
        case DateInterval::Year:
            return addMonths(date, count * 12);
        case DateInterval::Quarter:
            return addMonths(date, count * 3);
        case DateInterval::Month:
            return addMonths(date, count);
        case DateInterval::DayOfYear:
        case DateInterval::Day:
        case DateInterval::Weekday:
            return checkedDate(seconds + count * kDay);
        case DateInterval::Week:
            return checkedDate(seconds + count * 7 * kDay);
        case DateInterval::Hour:
            return checkedDate(seconds + count * 3600);
        case DateInterval::Minute:
            return checkedDate(seconds + count * 60);
        case DateInterval::Second:
            return checkedDate(seconds + count);
    }
    return date;
}

int64_t dateDiff(DateInterval interval, double d1, double d2, int firstDayOfWeek) {
    const int64_t s1 = jetDateToSeconds(d1);
    const int64_t s2 = jetDateToSeconds(d2);
    const int64_t day1 = floorDiv(s1, kDay);
    const int64_t day2 = floorDiv(s2, kDay);
    const DateParts p1 = jetDateToParts(d1);
    const DateParts p2 = jetDateToParts(d2);
    switch (interval) {
        case DateInterval::Year:
            return p2.year - p1.year;
        case DateInterval::Quarter:
            return (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
        case DateInterval::Month:
            return (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
        case DateInterval::DayOfYear:
        case DateInterval::Day:
            return day2 - day1;
        case DateInterval::Weekday:
            return (day2 - day1) / 7;  // whole weeks, truncated toward zero
        case DateInterval::Week: {
            // Week starts crossed: the weeks are aligned on a day that falls
            // on firstDayOfWeek (day 1 is a Sunday).
            const int64_t anchor = firstDayOfWeek;
            return floorDiv(day2 - anchor, 7) - floorDiv(day1 - anchor, 7);
        }
        case DateInterval::Hour:
            return floorDiv(s2, 3600) - floorDiv(s1, 3600);
        case DateInterval::Minute:
            return floorDiv(s2, 60) - floorDiv(s1, 60);
        case DateInterval::Second:
            return s2 - s1;
    }
    return 0;
}

int64_t datePart(DateInterval interval, double date, int firstDayOfWeek, int firstWeekOfYear) {
    const DateParts parts = jetDateToParts(date);
    const int64_t day = dayNumberOf(date);
    switch (interval) {
        case DateInterval::Year:
            return parts.year;
        case DateInterval::Quarter:
            return (parts.month - 1) / 3 + 1;
        case DateInterval::Month:
            return parts.month;
        case DateInterval::DayOfYear:
            return day - jetDayNumber(parts.year, 1, 1) + 1;
        case DateInterval::Day:
            return parts.day;
        case DateInterval::Weekday:
            return weekdayOfDay(day, firstDayOfWeek);
        case DateInterval::Week: {
            int64_t start = firstWeekStart(parts.year, firstDayOfWeek, firstWeekOfYear);
            if (day < start) {
                start = firstWeekStart(parts.year - 1, firstDayOfWeek, firstWeekOfYear);
            }
            return (day - start) / 7 + 1;
        }
        case DateInterval::Hour:
            return parts.hour;
        case DateInterval::Minute:
            return parts.minute;
        case DateInterval::Second:
            return parts.second;
    }
    return 0;
}

}  // namespace orvdb::engine::functions
