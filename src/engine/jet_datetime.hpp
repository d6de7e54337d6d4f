// Jet date-times: a double counting days since 1899-12-30, the time of day
// as the fraction. Before 1899-12-30 the integral part is negative and the
// fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
//
// Text form (what the engine prints and accepts first):
//   "YYYY-MM-DD HH:NN:SS", or "YYYY-MM-DD" when the time is midnight.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvdb::engine {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// nullopt when the parts do not form a valid date or time (month 13, Feb 30...).
std::optional<double> jetDateFromParts(const DateParts& parts);
// Splits to whole seconds; fractions of a second are rounded to the nearest.
DateParts jetDateToParts(double value);

// Parses the date texts Jet accepts in #...# literals and conversions:
// "2024-03-05", "2024-03-05 14:07:09", "2024-03-05 14.07.09", "3/5/2024" (month
// first), "3/5/2024 2:07:09 PM", "5-Mar-2024", "March 5, 2024", "14:07", "2:07 PM".
// Also: the #...# delimiters themselves, a leading weekday name, "T" between
// date and time, two-digit years (00..29 -> 20xx, 30..99 -> 19xx), a first
// number above 12 read as the day ("13/5/2024"), month and year alone
// ("3/2024": the 1st), month and day alone ("3/5": this year), and a time
// alone (on 1899-12-30). nullopt when the text is not a date.
std::optional<double> parseJetDate(std::string_view text);

// The local time now, to the second.
double jetDateNow();

// The engine's text form, see above.
std::string formatJetDate(double value);

// True when the value lies within Jet's calendar, 100-01-01 .. 9999-12-31.
bool isJetDateInRange(double value);

// The same instant as whole seconds since 1899-12-30 00:00 on a straight time
// line (negative before). Jet's encoding is not monotonic before 1899-12-30,
// so date arithmetic goes through this form.
int64_t jetDateToSeconds(double value);
double jetDateFromSeconds(int64_t seconds);

// Integer division and remainder rounding towards minus infinity, as
// calendar arithmetic before 1899-12-30 needs (floorDiv(-1, 7) == -1).
inline int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
inline int64_t floorMod(int64_t a, int64_t b) {
    return a - floorDiv(a, b) * b;
}

// Calendar helpers (proleptic Gregorian, no range check). Day numbers count
// from 1899-12-30 like the integral part of a date on or after that day.
int64_t jetDayNumber(int year, int month, int day);
void jetCivilDate(int64_t dayNumber, int& year, int& month, int& day);
int jetDaysInMonth(int year, int month);
// The year a one- or two-digit year stands for: 0..29 -> 2000..2029,
// 30..99 -> 1930..1999, as VBA's date conversions and DateSerial read them.
int jetExpandYear(int year);

}  // namespace orvdb::engine
