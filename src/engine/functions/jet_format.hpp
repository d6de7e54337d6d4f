// VBA's Format patterns. The engine has no regional settings: the decimal
// separator is always '.', the thousands separator ',', the date separator
// '/', the time separator ':', names are English, and the named formats are
// those of a US-English Windows ("Short Date" m/d/yyyy, "Long Time"
// h:nn:ss AM/PM), which Jet's date parser reads back. "Currency" uses the
// neutral currency sign U+00A4 in the invariant culture's layout: "¤1,234.50",
// negative "(¤1,234.50)".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvdb::engine::functions {

enum class PatternKind {
    Number,  // named numeric formats; custom patterns with 0 # % E+ , .
    Date,    // named date/time formats; custom patterns with d m y h n s q w c ...
    Text,    // @ & < > patterns
};

PatternKind classifyPattern(std::string_view pattern);

struct DateFormatOptions {
    int firstDayOfWeek = 1;   // 1 Sunday .. 7 Saturday
    int firstWeekOfYear = 1;  // 1 week of Jan 1, 2 first four-day week, 3 first full week
};

// Format(number, pattern) for a numeric pattern: sections for positive;
// negative;zero;Null, placeholders 0 and #, '.', ',' (grouping, or scaling by
// 1000 just left of the point), '%', E+ E- e+ e-, literals in quotes or after
// '\'. Rounds half away from zero on the decimal digits, as Format does.
std::string formatNumber(double value, std::string_view pattern);

// Format(date, pattern) for a date pattern.
std::string formatDate(double date, std::string_view pattern, const DateFormatOptions& options);

// Format(text, pattern) for an @ & < > pattern.
std::string formatText(std::string_view text, std::string_view pattern);

// What Format(Null, pattern) gives: the fourth section of a numeric pattern,
// nullopt (Null) when there is none.
std::optional<std::string> formatNull(std::string_view pattern);

}  // namespace orvdb::engine::functions
