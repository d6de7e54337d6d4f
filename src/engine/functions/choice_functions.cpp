// Tests and choices: IsNull, IsNumeric, IsDate, Nz, IIf, Switch, Choose.
#include "engine/functions/function_registry.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/number_text.hpp"

namespace orvdb::engine::functions {

namespace {

void jetIsNull(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultBool(ctx, isNullArg(argv[0]));
}

void jetIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            resultBool(ctx, true);
            return;
        case SQLITE_TEXT:
            resultBool(ctx, parseJetNumber(storedText(argv[0])).has_value());
            return;
        default:
            resultBool(ctx, false);
    }
}

// IsDate: text that reads as a date. Date columns hold REALs, so a REAL within
// the calendar counts as a date; INTEGERs (Long, Integer, Byte columns) never
// do.
void jetIsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_FLOAT:
            resultBool(ctx, isJetDateInRange(sqlite3_value_double(argv[0])));
            return;
        case SQLITE_TEXT:
            resultBool(ctx, parseJetDate(storedText(argv[0])).has_value());
            return;
        default:
            resultBool(ctx, false);
    }
}

// Nz(value[, valueIfNull]): in a query Nz(Null) is the zero-length string.
void jetNz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (!isNullArg(argv[0])) {
        sqlite3_result_value(ctx, argv[0]);
    } else if (argc > 1) {
        sqlite3_result_value(ctx, argv[1]);
    } else {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    }
}

// IIf(condition, ifTrue, ifFalse): a Null condition is false.
void jetIIf(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_value(ctx, truthArg(argv[0]) ? argv[1] : argv[2]);
}

// Switch(c1, v1, c2, v2, ...): the value after the first true condition, Null
// when none is true. Pairs only.
void jetSwitch(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc == 0 || argc % 2 != 0) {
        raiseInvalidCall();
    }
    for (int i = 0; i < argc; i += 2) {
        if (truthArg(argv[i])) {
            sqlite3_result_value(ctx, argv[i + 1]);
            return;
        }
    }
    sqlite3_result_null(ctx);
}

// Choose(index, c1, c2, ...): index rounded like a VBA Long; Null when it
// falls outside 1..n or is Null.
void jetChoose(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2) {
        raiseInvalidCall();
    }
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int32_t index = longArg(argv[0]);
    if (index < 1 || index >= argc) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_value(ctx, argv[index]);
}

}  // namespace

void registerChoiceFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    registerScalars(db, {
                            {"jet_isnull", 1, 1, pure, guarded<jetIsNull>},
                            {"jet_isnumeric", 1, 1, pure, guarded<jetIsNumeric>},
                            {"jet_isdate", 1, 1, pure, guarded<jetIsDate>},
                            {"jet_nz", 1, 2, pure, guarded<jetNz>},
                            {"jet_iif", 3, 3, pure, guarded<jetIIf>},
                            {"jet_switch", 2, -1, pure, guarded<jetSwitch>},
                            {"jet_choose", 2, -1, pure, guarded<jetChoose>},
                        });
}

}  // namespace orvdb::engine::functions
