// Month and weekday names. Names are English whatever the system locale: the
// engine has no regional settings, and these are the names Jet's date parser
// reads back.
#pragma once

#include <array>
#include <string_view>

namespace orvdb::engine::functions {

inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Sunday first, as VBA's weekday numbers.
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
inline constexpr std::array<std::string_view, 7> kWeekdayAbbreviations = {
    "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace orvdb::engine::functions
