// Reading SQLite function arguments with Jet's conversion rules, and setting
// results in the engine's value representation (booleans -1/0, dates REAL).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvdb::engine::functions {

inline bool isNullArg(sqlite3_value* value) {
    return sqlite3_value_type(value) == SQLITE_NULL;
}
bool anyNullArg(int argc, sqlite3_value** argv);
// The UTF-8 text of a TEXT value as SQLite holds it (no conversion of numbers).
std::string_view storedText(sqlite3_value* value);

// An integer or a double; integers stay exact as long as they can.
struct Number {
    bool isInteger = false;
    int64_t integer = 0;
    double real = 0;

    static Number ofInteger(int64_t v) { return Number{true, v, static_cast<double>(v)}; }
    static Number ofReal(double v) { return Number{false, 0, v}; }
    double toDouble() const { return isInteger ? static_cast<double>(integer) : real; }
};

// A number from INTEGER, REAL or TEXT holding a number (parseJetNumber).
// Null raises "Invalid use of Null"; other text and blobs the type mismatch.
Number numberArg(sqlite3_value* value);
// The same for text held elsewhere.
Number numberOfText(std::string_view text);
double doubleArg(sqlite3_value* value);
// Rounded half to even into a Long, as VBA passes a Long parameter; Overflow
// beyond 32 bits.
int32_t longArg(sqlite3_value* value);
// A date-time: REAL/INTEGER serials as they are, TEXT through parseJetDate.
// Text that is no date raises the type mismatch, serials outside the
// calendar Overflow. Null raises "Invalid use of Null".
double dateArg(sqlite3_value* value);
// The truth of a condition: Null is false, numbers are true when non-zero,
// text may say True/False (or Yes/No, On/Off) or hold a number.
bool truthArg(sqlite3_value* value);
// "True"/"Yes"/"On" and "False"/"No"/"Off", any case, blanks around.
std::optional<bool> booleanWord(std::string_view text);

// The text form of a non-Null value: TEXT as stored, numbers as Jet prints
// them, blobs byte for byte. Owns the text when it had to be made.
class TextArg {
public:
    explicit TextArg(sqlite3_value* value);
    TextArg(const TextArg&) = delete;
    TextArg& operator=(const TextArg&) = delete;

    std::string_view view() const { return view_; }

private:
    std::string owned_;
    std::string_view view_;
};

void resultText(sqlite3_context* ctx, std::string_view text);
inline void resultBool(sqlite3_context* ctx, bool value) {
    sqlite3_result_int(ctx, value ? -1 : 0);
}
// Non-finite results raise Overflow.
void resultDouble(sqlite3_context* ctx, double value);
void resultNumber(sqlite3_context* ctx, const Number& value);

}  // namespace orvdb::engine::functions
