#include "engine/functions/function_registry.hpp"

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

#include <exception>
#include <new>
#include <string>

namespace orvdb::engine::functions {

void reportCurrentException(sqlite3_context* ctx) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(ctx, msg::kUnknownFunctionError, -1);
    }
}

void registerScalars(sqlite3* db, std::initializer_list<ScalarFunction> functions) {
    for (const ScalarFunction& f : functions) {
        int flags = SQLITE_UTF8;
        if (f.purity == Purity::Deterministic) {
            flags |= SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
        }
        const int first = f.minArgs;
        const int last = f.maxArgs < 0 ? f.minArgs : f.maxArgs;
        for (int argc = first; argc <= last; ++argc) {
            const int nArg = f.maxArgs < 0 ? -1 : argc;
            const int rc = sqlite3_create_function_v2(db, f.name, nArg, flags, nullptr, f.function,
                                                      nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) {
                throw EngineError(msg::functionNotRegistered(f.name, sqlite3_errstr(rc)));
            }
        }
    }
}

}  // namespace orvdb::engine::functions
