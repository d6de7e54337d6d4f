// Format(value[, pattern[, firstDayOfWeek[, firstWeekOfYear]]]).
#include "engine/functions/date_intervals.hpp"
#include "engine/functions/function_registry.hpp"
#include "engine/functions/jet_format.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

#include <cmath>

namespace orvdb::engine::functions {

namespace {

// The value as a date serial for a date pattern: numbers as they are, text
// that reads as a date or a number. nullopt: format the value as plain text.
std::optional<double> asDate(sqlite3_value* value, std::string_view text) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const double serial = sqlite3_value_double(value);
            return isJetDateInRange(serial) ? std::optional<double>(serial) : std::nullopt;
        }
        case SQLITE_TEXT: {
            if (std::optional<double> date = parseJetDate(text)) {
                return date;
            }
            const std::optional<ParsedNumber> number = parseJetNumber(text);
            if (number && isJetDateInRange(number->value)) {
                return number->value;
            }
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

std::optional<double> asNumber(sqlite3_value* value, std::string_view text) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_value_double(value);
        case SQLITE_TEXT: {
            const std::optional<ParsedNumber> number = parseJetNumber(text);
            if (number && std::isfinite(number->value)) {
                return number->value;
            }
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

// Without a pattern Format gives the value's plain text (numbers without the
// leading blank of Str). A value the pattern cannot apply to (text that is no
// number for a numeric pattern) comes back as its plain text too.
void jetFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    DateFormatOptions options;
    if (argc > 2 && !isNullArg(argv[2])) {
        options.firstDayOfWeek = checkFirstDayOfWeek(longArg(argv[2]));
    }
    if (argc > 3 && !isNullArg(argv[3])) {
        options.firstWeekOfYear = checkFirstWeekOfYear(longArg(argv[3]));
    }
    const bool hasPattern = argc > 1 && !isNullArg(argv[1]);
    const TextArg pattern(hasPattern ? argv[1] : argv[0]);
    if (isNullArg(argv[0])) {
        const std::optional<std::string> text =
            hasPattern ? formatNull(pattern.view()) : std::nullopt;
        if (text) {
            resultText(ctx, *text);
        } else {
            sqlite3_result_null(ctx);
        }
        return;
    }
    const TextArg value(argv[0]);
    if (!hasPattern || pattern.view().empty()) {
        resultText(ctx, value.view());
        return;
    }
    switch (classifyPattern(pattern.view())) {
        case PatternKind::Date:
            if (const std::optional<double> date = asDate(argv[0], value.view())) {
                resultText(ctx, formatDate(*date, pattern.view(), options));
                return;
            }
            break;
        case PatternKind::Number:
            if (const std::optional<double> number = asNumber(argv[0], value.view())) {
                resultText(ctx, formatNumber(*number, pattern.view()));
                return;
            }
            break;
        case PatternKind::Text:
            resultText(ctx, formatText(value.view(), pattern.view()));
            return;
    }
    resultText(ctx, value.view());
}

}  // namespace

void registerFormatFunction(sqlite3* db) {
    registerScalars(db, {
                            {"jet_format", 1, 4, Purity::Deterministic, guarded<jetFormat>},
                        });
}

}  // namespace orvdb::engine::functions
