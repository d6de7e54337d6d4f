// Registration of the engine's SQL functions. Implementations throw
// EngineError with Jet's message; the guard turns that into an SQLite error
// of the statement.
#pragma once

#include <sqlite3.h>

#include <initializer_list>

namespace orvdb::engine::functions {

using SqlFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

// Reports the exception being handled as the function's error.
void reportCurrentException(sqlite3_context* ctx) noexcept;

template <SqlFunction Fn>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv) noexcept {
    try {
        Fn(ctx, argc, argv);
    } catch (...) {
        reportCurrentException(ctx);
    }
}

enum class Purity {
    Deterministic,  // same arguments, same result: SQLite may factor calls out
    Volatile,       // Now(), Rnd(), ...
};

struct ScalarFunction {
    const char* name;
    int minArgs;
    int maxArgs;  // -1: any number from minArgs on (checked by the function)
    Purity purity;
    SqlFunction function;  // already guarded
};

// Registers each function once per accepted argument count. Throws
// EngineError naming the function when SQLite refuses it.
void registerScalars(sqlite3* db, std::initializer_list<ScalarFunction> functions);

// The groups, one file each; registerJetFunctions calls them all.
void registerOperatorFunctions(sqlite3* db);
void registerTextFunctions(sqlite3* db);
void registerConversionFunctions(sqlite3* db);
void registerNumericFunctions(sqlite3* db);
void registerDateFunctions(sqlite3* db);
void registerFormatFunction(sqlite3* db);
void registerChoiceFunctions(sqlite3* db);
void registerAggregateFunctions(sqlite3* db);
void registerCoerceFunction(sqlite3* db);
void registerIndexTextFunction(sqlite3* db);

}  // namespace orvdb::engine::functions
