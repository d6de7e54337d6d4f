// VBA's date and time functions. Date arguments arrive as REAL serials or as
// text (read by parseJetDate); a Null date gives Null.
#include "engine/functions/date_intervals.hpp"
#include "engine/functions/date_names.hpp"
#include "engine/functions/function_registry.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

#include <ctime>

namespace orvdb::engine::functions {

namespace {

constexpr int64_t kDay = 86400;

// The local wall-clock time, to the second (VBA's Now has no finer grain).
double localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateParts parts;
    parts.year = local.tm_year + 1900;
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    parts.hour = local.tm_hour;
    parts.minute = local.tm_min;
    parts.second = std::min(local.tm_sec, 59);  // a leap second
    return jetDateFromParts(parts).value_or(0.0);
}

double datePortion(double date) {
    return jetDateFromSeconds(floorDiv(jetDateToSeconds(date), kDay) * kDay);
}

double timePortion(double date) {
    const int64_t seconds = jetDateToSeconds(date);
    return static_cast<double>(seconds - floorDiv(seconds, kDay) * kDay) / kDay;
}

void jetNow(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, localNow());
}
void jetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, datePortion(localNow()));
}
void jetTime(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_double(ctx, timePortion(localNow()));
}

template <int64_t (*Part)(const DateParts&)>
void datePartOf(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, Part(jetDateToParts(dateArg(argv[0]))));
}

int64_t yearOf(const DateParts& parts) {
    return parts.year;
}
int64_t monthOf(const DateParts& parts) {
    return parts.month;
}
int64_t dayOf(const DateParts& parts) {
    return parts.day;
}
int64_t hourOf(const DateParts& parts) {
    return parts.hour;
}
int64_t minuteOf(const DateParts& parts) {
    return parts.minute;
}
int64_t secondOf(const DateParts& parts) {
    return parts.second;
}

int optionalCode(int argc, sqlite3_value** argv, int index) {
    if (index >= argc || isNullArg(argv[index])) {
        return 0;
    }
    return longArg(argv[index]);
}

DateInterval intervalArg(sqlite3_value* value) {
    if (isNullArg(value)) {
        raiseInvalidUseOfNull();
    }
    const std::optional<DateInterval> interval = parseDateInterval(TextArg(value).view());
    if (!interval) {
        raiseInvalidCall();
    }
    return *interval;
}

void jetWeekday(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int firstDay = checkFirstDayOfWeek(optionalCode(argc, argv, 1));
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, weekdayOf(dateArg(argv[0]), firstDay));
}

// DateAdd(interval, number, date): number is rounded to a whole count.
void jetDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const DateInterval interval = intervalArg(argv[0]);
    const double count = roundHalfEven(doubleArg(argv[1]));
    if (isNullArg(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!(count > -1e12 && count < 1e12)) {
        raiseInvalidCall();
    }
    sqlite3_result_double(ctx, dateAdd(interval, static_cast<int64_t>(count), dateArg(argv[2])));
}

void jetDateDiff(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const DateInterval interval = intervalArg(argv[0]);
    const int firstDay = checkFirstDayOfWeek(optionalCode(argc, argv, 3));
    checkFirstWeekOfYear(optionalCode(argc, argv, 4));
    if (isNullArg(argv[1]) || isNullArg(argv[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, dateDiff(interval, dateArg(argv[1]), dateArg(argv[2]), firstDay));
}

void jetDatePart(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const DateInterval interval = intervalArg(argv[0]);
    const int firstDay = checkFirstDayOfWeek(optionalCode(argc, argv, 2));
    const int firstWeek = checkFirstWeekOfYear(optionalCode(argc, argv, 3));
    if (isNullArg(argv[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, datePart(interval, dateArg(argv[1]), firstDay, firstWeek));
}

// DateSerial(year, month, day): months and days outside their range roll
// over (month 13 is January of the next year, day 0 the last day of the month
// before); years 0..99 stand for 1930..2029 as in VBA. Null gives Null, as the
// query shows for a Null part.
void jetDateSerial(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNullArg(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t year = jetExpandYear(longArg(argv[0]));
    const int64_t month = longArg(argv[1]);
    const int64_t day = longArg(argv[2]);
    const int64_t totalMonths = year * 12 + (month - 1);
    const int64_t y = floorDiv(totalMonths, 12);
    const int64_t m = totalMonths - y * 12 + 1;
    if (y < -1000000 || y > 1000000) {
        raiseInvalidCall();
    }
    const int64_t dayNumber = jetDayNumber(static_cast<int>(y), static_cast<int>(m), 1) + day - 1;
    const double value = jetDateFromSeconds(dayNumber * kDay);
    if (!isJetDateInRange(value)) {
        raiseInvalidCall();
    }
    sqlite3_result_double(ctx, value);
}

// TimeSerial(hour, minute, second): any overflow carries into the day, so
// TimeSerial(25, 0, 0) is 1899-12-31 01:00.
void jetTimeSerial(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNullArg(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const int64_t seconds = static_cast<int64_t>(longArg(argv[0])) * 3600 +
                            static_cast<int64_t>(longArg(argv[1])) * 60 + longArg(argv[2]);
    const double value = jetDateFromSeconds(seconds);
    if (!isJetDateInRange(value)) {
        raiseInvalidCall();
    }
    sqlite3_result_double(ctx, value);
}

void jetDateValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, datePortion(dateArg(argv[0])));
}

void jetTimeValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, timePortion(dateArg(argv[0])));
}

void jetMonthName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int32_t month = longArg(argv[0]);
    if (month < 1 || month > 12) {
        raiseInvalidCall();
    }
    const bool abbreviate = argc > 1 && truthArg(argv[1]);
    const auto& names = abbreviate ? kMonthAbbreviations : kMonthNames;
    resultText(ctx, names[static_cast<size_t>(month - 1)]);
}

void jetWeekdayName(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int32_t weekday = longArg(argv[0]);
    if (weekday < 1 || weekday > 7) {
        raiseInvalidCall();
    }
    const bool abbreviate = argc > 1 && truthArg(argv[1]);
    const int firstDay = checkFirstDayOfWeek(optionalCode(argc, argv, 2));
    const auto& names = abbreviate ? kWeekdayAbbreviations : kWeekdayNames;
    resultText(ctx, names[static_cast<size_t>((weekday - 1 + firstDay - 1) % 7)]);
}

}  // namespace

void registerDateFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    constexpr Purity clock = Purity::Volatile;
    registerScalars(db, {
                            {"jet_now", 0, 0, clock, guarded<jetNow>},
                            {"jet_date", 0, 0, clock, guarded<jetDate>},
                            {"jet_time", 0, 0, clock, guarded<jetTime>},
                            {"jet_year", 1, 1, pure, guarded<datePartOf<yearOf>>},
                            {"jet_month", 1, 1, pure, guarded<datePartOf<monthOf>>},
                            {"jet_day", 1, 1, pure, guarded<datePartOf<dayOf>>},
                            {"jet_hour", 1, 1, pure, guarded<datePartOf<hourOf>>},
                            {"jet_minute", 1, 1, pure, guarded<datePartOf<minuteOf>>},
                            {"jet_second", 1, 1, pure, guarded<datePartOf<secondOf>>},
                            {"jet_weekday", 1, 2, pure, guarded<jetWeekday>},
                            {"jet_dateadd", 3, 3, pure, guarded<jetDateAdd>},
                            {"jet_datediff", 3, 5, pure, guarded<jetDateDiff>},
                            {"jet_datepart", 2, 4, pure, guarded<jetDatePart>},
                            {"jet_dateserial", 3, 3, pure, guarded<jetDateSerial>},
                            {"jet_timeserial", 3, 3, pure, guarded<jetTimeSerial>},
                            {"jet_datevalue", 1, 1, pure, guarded<jetDateValue>},
                            {"jet_timevalue", 1, 1, pure, guarded<jetTimeValue>},
                            {"jet_monthname", 1, 2, pure, guarded<jetMonthName>},
                            {"jet_weekdayname", 1, 3, pure, guarded<jetWeekdayName>},
                        });
}

}  // namespace orvdb::engine::functions
