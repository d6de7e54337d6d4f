// VBA's math functions. Null propagates, as Jet's expression service does for
// them in queries.
#include "engine/functions/function_registry.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/number_text.hpp"
#include "jet/format/value.hpp"

#include <cmath>
#include <cstring>
#include <random>

namespace orvdb::engine::functions {

namespace {

// Int rounds down, Fix toward zero: Int(-2.5) = -3, Fix(-2.5) = -2.
template <double (*Round)(double)>
void integerPart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Number number = numberArg(argv[0]);
    if (number.isInteger) {
        sqlite3_result_int64(ctx, number.integer);
    } else {
        resultDouble(ctx, Round(number.real));
    }
}

double floorOf(double v) {
    return std::floor(v);
}
double truncOf(double v) {
    return std::trunc(v);
}

void jetAbs(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Number number = numberArg(argv[0]);
    if (number.isInteger && number.integer != INT64_MIN) {
        sqlite3_result_int64(ctx, number.integer < 0 ? -number.integer : number.integer);
    } else {
        resultDouble(ctx, std::fabs(number.toDouble()));
    }
}

void jetSgn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double v = doubleArg(argv[0]);
    sqlite3_result_int(ctx, v > 0 ? 1 : (v < 0 ? -1 : 0));
}

// Round(x[, decimals]): half to even on the decimal digits (Round(2.5) = 2,
// Round(0.125, 2) = 0.12). Negative decimals are an invalid call.
void jetRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int32_t decimals = argc > 1 ? longArg(argv[1]) : 0;
    if (decimals < 0) {
        raiseInvalidCall();
    }
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const Number number = numberArg(argv[0]);
    if (number.isInteger) {
        sqlite3_result_int64(ctx, number.integer);
        return;
    }
    resultDouble(ctx, roundToDecimals(number.real, decimals, DecimalRounding::HalfEven));
}

enum class MathFunction { Sqr, Exp, Log, Sin, Cos, Tan, Atn };

template <MathFunction F>
void math(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double x = doubleArg(argv[0]);
    double result = 0;
    switch (F) {
        case MathFunction::Sqr:
            if (x < 0) {
                raiseInvalidCall();
            }
            result = std::sqrt(x);
            break;
        case MathFunction::Exp:
            result = std::exp(x);
            break;
        case MathFunction::Log:
            if (x <= 0) {
                raiseInvalidCall();
            }
            result = std::log(x);
            break;
        case MathFunction::Sin:
            result = std::sin(x);
            break;
        case MathFunction::Cos:
            result = std::cos(x);
            break;
        case MathFunction::Tan:
            result = std::tan(x);
            break;
        case MathFunction::Atn:
            result = std::atan(x);
            break;
    }
    resultDouble(ctx, result);
}

std::mt19937_64& randomBits() {
    thread_local std::mt19937_64 generator{std::random_device{}()};
    return generator;
}

// GenGUID: a new random GUID (version 4), as text like every GUID value.
void jetGenGuid(sqlite3_context* ctx, int, sqlite3_value**) {
    jet::Guid guid;
    for (size_t half = 0; half < 2; ++half) {
        const uint64_t bits = randomBits()();
        std::memcpy(guid.bytes.data() + 8 * half, &bits, 8);
    }
    // Stored byte 7 is the high byte of the third field, byte 8 the first of the fourth.
    guid.bytes[7] = static_cast<uint8_t>((guid.bytes[7] & 0x0F) | 0x40);
    guid.bytes[8] = static_cast<uint8_t>((guid.bytes[8] & 0x3F) | 0x80);
    const std::string text = guid.toString();
    sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Rnd: a number in [0, 1). The VBA seeding rules (negative arguments) are not
// reproduced; Rnd(0) repeats the previous number.
void jetRnd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    thread_local double last = 0;
    if (argc > 0 && !isNullArg(argv[0]) && doubleArg(argv[0]) == 0) {
        sqlite3_result_double(ctx, last);
        return;
    }
    last = std::uniform_real_distribution<double>(0.0, 1.0)(randomBits());
    sqlite3_result_double(ctx, last);
}

}  // namespace

void registerNumericFunctions(sqlite3* db) {
    constexpr Purity pure = Purity::Deterministic;
    registerScalars(db, {
                            {"jet_int", 1, 1, pure, guarded<integerPart<floorOf>>},
                            {"jet_fix", 1, 1, pure, guarded<integerPart<truncOf>>},
                            {"jet_abs", 1, 1, pure, guarded<jetAbs>},
                            {"jet_sgn", 1, 1, pure, guarded<jetSgn>},
                            {"jet_round", 1, 2, pure, guarded<jetRound>},
                            {"jet_sqr", 1, 1, pure, guarded<math<MathFunction::Sqr>>},
                            {"jet_exp", 1, 1, pure, guarded<math<MathFunction::Exp>>},
                            {"jet_log", 1, 1, pure, guarded<math<MathFunction::Log>>},
                            {"jet_sin", 1, 1, pure, guarded<math<MathFunction::Sin>>},
                            {"jet_cos", 1, 1, pure, guarded<math<MathFunction::Cos>>},
                            {"jet_tan", 1, 1, pure, guarded<math<MathFunction::Tan>>},
                            {"jet_atn", 1, 1, pure, guarded<math<MathFunction::Atn>>},
                            {"jet_rnd", 0, 1, Purity::Volatile, guarded<jetRnd>},
                            {"jet_genguid", 0, 0, Purity::Volatile, guarded<jetGenGuid>},
                        });
}

}  // namespace orvdb::engine::functions
