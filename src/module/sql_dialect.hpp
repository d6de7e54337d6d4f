// The pieces of Access (Jet) SQL whose syntax differs between the engines the
// host writes SQL for. Pure text functions; they accept any input.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::module {

// IIF(condition,a,b) followed by " AS " + alias, except for the alias
// "[CONDITION]" (compared exactly), which adds nothing.
std::u16string decodeValueSql2(std::u16string_view condition, std::u16string_view a,
                               std::u16string_view b, std::u16string_view alias);

// The field's value, or valueWhenNull where it is NULL.
std::u16string decodeValueSql(std::u16string_view field, std::u16string_view valueWhenNull,
                              std::u16string_view alias);

// A multi-line text as a Jet expression: each piece between line breaks
// quoted, the pieces joined by &chr(13)&chr(10)&. A line break is a carriage
// return with the character after it. A final break ends the expression with
// the joiner (no trailing &). Empty pieces are quoted too (''), which keeps
// the expression valid where a break leads the text or two follow each
// other. Quotes inside the text are left as they are.
std::u16string lineFeed(std::u16string_view text);

// "0x" + text; "0x0" for an empty text.
std::u16string castHex(std::u16string_view text);

// #YYYY-MM-DD HH.NN.SS# for a date-time in days since 1899-12-30; the
// milliseconds are dropped. The time of a negative value is its fraction
// without sign (-1.25 is 29 December 1899, 06:00), as the host counts.
// A value that is not finite gives day 0.
std::u16string dateTimeLiteral(double dateTime);

}  // namespace orvdb::module
