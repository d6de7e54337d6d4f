// Jet's own aggregates. First and Last: the value of the first / last row in
// input order, Null counting as a value like any other. StDev, StDevP, Var,
// VarP: the sample / population deviation and variance of the non-Null
// values, Null when there are too few of them.
#include "engine/engine_error.hpp"
#include "engine/functions/function_registry.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/messages.hpp"

#include <cmath>
#include <string>

namespace orvdb::engine::functions {

namespace {

struct KeptValue {
    sqlite3_value* value;  // a protected copy, or nullptr before the first row
    bool seen;
};

KeptValue* stateOf(sqlite3_context* ctx, bool create) {
    return static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, create ? sizeof(KeptValue) : 0));
}

template <bool KeepLast>
void keepStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    KeptValue* state = stateOf(ctx, true);
    if (!state) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (state->seen && !KeepLast) {
        return;
    }
    sqlite3_value* copy = sqlite3_value_dup(argv[0]);
    if (!copy) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_value_free(state->value);
    state->value = copy;
    state->seen = true;
}

void keptFinal(sqlite3_context* ctx) {
    KeptValue* state = stateOf(ctx, false);
    if (!state || !state->value) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_value(ctx, state->value);
    sqlite3_value_free(state->value);
    state->value = nullptr;
}

// Welford's running mean and squared deviations: stable in one pass.
struct Spread {
    int64_t count;
    double mean;
    double squares;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) {
        return;
    }
    const double x = doubleArg(argv[0]);
    auto* spread = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!spread) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    ++spread->count;
    const double delta = x - spread->mean;
    spread->mean += delta / static_cast<double>(spread->count);
    spread->squares += delta * (x - spread->mean);
}

template <bool Sample, bool Root>
void spreadFinal(sqlite3_context* ctx) {
    const auto* spread = static_cast<const Spread*>(sqlite3_aggregate_context(ctx, 0));
    const int64_t needed = Sample ? 2 : 1;
    if (!spread || spread->count < needed) {
        sqlite3_result_null(ctx);
        return;
    }
    const double variance =
        spread->squares / static_cast<double>(Sample ? spread->count - 1 : spread->count);
    sqlite3_result_double(ctx, Root ? std::sqrt(variance) : variance);
}

void registerAggregate(sqlite3* db, const char* name, SqlFunction step,
                       void (*final)(sqlite3_context*)) {
    const int rc = sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8, nullptr, nullptr, step,
                                              final, nullptr);
    if (rc != SQLITE_OK) {
        throw EngineError(msg::functionNotRegistered(name, sqlite3_errstr(rc)));
    }
}

}  // namespace

void registerAggregateFunctions(sqlite3* db) {
    registerAggregate(db, "jet_first", keepStep<false>, keptFinal);
    registerAggregate(db, "jet_last", keepStep<true>, keptFinal);
    registerAggregate(db, "jet_stdev", guarded<spreadStep>, spreadFinal<true, true>);
    registerAggregate(db, "jet_stdevp", guarded<spreadStep>, spreadFinal<false, true>);
    registerAggregate(db, "jet_var", guarded<spreadStep>, spreadFinal<true, false>);
    registerAggregate(db, "jet_varp", guarded<spreadStep>, spreadFinal<false, false>);
}

}  // namespace orvdb::engine::functions
