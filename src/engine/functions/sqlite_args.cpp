#include "engine/functions/sqlite_args.hpp"

#include "engine/functions/raise.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

#include <strings.h>
#include <cmath>

namespace orvdb::engine::functions {

namespace {

bool equalsIgnoreCase(std::string_view text, const char* word) {
    return text.size() == std::char_traits<char>::length(word) &&
           strncasecmp(text.data(), word, text.size()) == 0;
}

}  // namespace

std::string_view storedText(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

bool anyNullArg(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (isNullArg(argv[i])) {
            return true;
        }
    }
    return false;
}

Number numberOfText(std::string_view text) {
    const std::optional<ParsedNumber> parsed = parseJetNumber(text);
    if (!parsed) {
        raiseTypeMismatch();
    }
    if (!std::isfinite(parsed->value)) {
        raiseOverflow();
    }
    return parsed->isInteger ? Number::ofInteger(parsed->integer) : Number::ofReal(parsed->value);
}

Number numberArg(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return Number::ofInteger(sqlite3_value_int64(value));
        case SQLITE_FLOAT:
            return Number::ofReal(sqlite3_value_double(value));
        case SQLITE_TEXT:
            return numberOfText(storedText(value));
        case SQLITE_NULL:
            raiseInvalidUseOfNull();
        default:
            raiseTypeMismatch();
    }
}

double doubleArg(sqlite3_value* value) {
    return numberArg(value).toDouble();
}

int32_t longArg(sqlite3_value* value) {
    const Number number = numberArg(value);
    if (number.isInteger) {
        if (number.integer < INT32_MIN || number.integer > INT32_MAX) {
            raiseOverflow();
        }
        return static_cast<int32_t>(number.integer);
    }
    const double rounded = roundHalfEven(number.real);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
        raiseOverflow();
    }
    return static_cast<int32_t>(rounded);
}

double dateArg(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const double serial = sqlite3_value_double(value);
            if (!isJetDateInRange(serial)) {
                raiseOverflow();
            }
            return serial;
        }
        case SQLITE_TEXT: {
            const std::optional<double> parsed = parseJetDate(storedText(value));
            if (!parsed) {
                raiseTypeMismatch();
            }
            return *parsed;
        }
        case SQLITE_NULL:
            raiseInvalidUseOfNull();
        default:
            raiseTypeMismatch();
    }
}

std::optional<bool> booleanWord(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (equalsIgnoreCase(text, "true") || equalsIgnoreCase(text, "yes") ||
        equalsIgnoreCase(text, "on")) {
        return true;
    }
    if (equalsIgnoreCase(text, "false") || equalsIgnoreCase(text, "no") ||
        equalsIgnoreCase(text, "off")) {
        return false;
    }
    return std::nullopt;
}

bool truthArg(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return false;
        case SQLITE_INTEGER:
            return sqlite3_value_int64(value) != 0;
        case SQLITE_FLOAT:
            return sqlite3_value_double(value) != 0;
        case SQLITE_TEXT:
            if (const std::optional<bool> word = booleanWord(storedText(value))) {
                return *word;
            }
            return doubleArg(value) != 0;
        default:
            raiseTypeMismatch();
    }
}

TextArg::TextArg(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            owned_ = std::to_string(sqlite3_value_int64(value));
            view_ = owned_;
            break;
        case SQLITE_FLOAT:
            owned_ = formatJetNumber(sqlite3_value_double(value));
            view_ = owned_;
            break;
        case SQLITE_BLOB: {
            const void* blob = sqlite3_value_blob(value);
            view_ = blob ? std::string_view(static_cast<const char*>(blob),
                                            static_cast<size_t>(sqlite3_value_bytes(value)))
                         : std::string_view();
            break;
        }
        case SQLITE_TEXT:
            view_ = storedText(value);
            break;
        default:
            break;
    }
}

void resultText(sqlite3_context* ctx, std::string_view text) {
    if (text.empty()) {
        // A default string_view has no data pointer, which SQLite takes for Null.
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    sqlite3_result_text64(ctx, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void resultDouble(sqlite3_context* ctx, double value) {
    if (!std::isfinite(value)) {
        raiseOverflow();
    }
    sqlite3_result_double(ctx, value);
}

void resultNumber(sqlite3_context* ctx, const Number& value) {
    if (value.isInteger) {
        sqlite3_result_int64(ctx, value.integer);
    } else {
        resultDouble(ctx, value.real);
    }
}

}  // namespace orvdb::engine::functions
