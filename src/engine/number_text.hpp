// Numbers as text, the way VBA writes and reads them, always with '.' as the
// decimal separator whatever the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvdb::engine {

// The shortest text that reads back to the same double. Magnitudes from 1e-5
// up to (not including) 1e15 are written with plain digits ("0.00001",
// "123456789012345"), others in VBA's scientific form with a signed exponent
// of at least two digits ("1E+15", "1.5E-06"). Zero is "0", never "-0".
std::string formatJetNumber(double value);

// The same for a Single: the shortest text that reads back to the same float,
// so a Single 0.1 prints "0.1" and not the digits of its double widening.
std::string formatJetSingle(float value);

struct ParsedNumber {
    double value = 0;        // +-HUGE_VAL when the text is beyond the double range
    bool isInteger = false;  // plain integer digits that fit an int64
    int64_t integer = 0;     // valid when isInteger
};

// The numeric texts VBA's conversions accept: blanks around, a sign, digits
// with ',' between them as thousands grouping, a '.', an exponent (E or D),
// or "&H" hex / "&O" octal (sign-extended from 16 bits up to 4 hex digits,
// from 32 bits up to 8). nullopt for anything else, including "".
std::optional<ParsedNumber> parseJetNumber(std::string_view text);

// Round half to even ("banker's rounding"), as VBA's integer conversions do.
double roundHalfEven(double value);

// A decimal number as digits: value = 0.d1d2d3... x 10^pointPos, with the sign
// apart. digits carries no leading or trailing zeros and is empty for zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int pointPos = 0;  // how many digits stand before the decimal point

    bool isZero() const { return digits.empty(); }
};

// The shortest round-trip decimal digits of a finite double.
DecimalDigits shortestDigits(double value);
// Decimal text: blanks around, sign, digits, '.', optional exponent. No grouping.
std::optional<DecimalDigits> parseDecimalText(std::string_view text);

enum class DecimalRounding { HalfEven, HalfAwayFromZero };
// Rounds to `fractionDigits` digits after the point (may be negative: tens...).
void roundDigits(DecimalDigits& number, int fractionDigits, DecimalRounding mode);
// A double rounded to `fractionDigits` decimals on its shortest decimal digits,
// so 2.675 rounds as the 2.675 the user sees, not as its binary neighbour.
double roundToDecimals(double value, int fractionDigits, DecimalRounding mode);
// Plain text, no exponent, at least minFractionDigits digits after the point.
std::string plainDecimalText(const DecimalDigits& number, int minFractionDigits = 0);

}  // namespace orvdb::engine
