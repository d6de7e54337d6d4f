#include "engine/store/store_functions.hpp"

#include "engine/messages.hpp"
#include "engine/store/working_store.hpp"

#include <string>

namespace orvdb::engine {

namespace {

WorkingStore& storeOf(sqlite3_context* ctx) {
    return *static_cast<WorkingStore*>(sqlite3_user_data(ctx));
}

std::string textArg(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string(p, static_cast<size_t>(sqlite3_value_bytes(v))) : std::string();
}

void nextAutoNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    WorkingStore& store = storeOf(ctx);
    try {
        int64_t value = store.catalog().nextAutoNumber(textArg(argv[0]));
        if (store.session()) {
            store.session()->lastIdentity = value;
        }
        sqlite3_result_int64(ctx, value);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void noteAutoNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    WorkingStore& store = storeOf(ctx);
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        // An explicit Null means "number it for me", as Jet does.
        nextAutoNumber(ctx, 1, argv);
        return;
    }
    sqlite3_int64 value = sqlite3_value_int64(argv[1]);
    store.catalog().noteAutoNumber(textArg(argv[0]), value);
    if (store.session()) {
        store.session()->lastIdentity = value;
    }
    sqlite3_result_int64(ctx, value);
}

void identity(sqlite3_context* ctx, int, sqlite3_value**) {
    WorkingStore& store = storeOf(ctx);
    sqlite3_result_int64(ctx, store.session() ? store.session()->lastIdentity : 0);
}

// Stands for a declared parameter: callers never supply parameter values, so
// evaluating one is Jet's missing-value error (the executor refuses such
// statements before they run; this covers any other path).
void missingParameter(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_error(ctx, msg::missingParameter(textArg(argv[0])).c_str(), -1);
}

}  // namespace

void registerStoreFunctions(sqlite3* db, WorkingStore& store) {
    sqlite3_create_function_v2(db, "jet_next_autonumber", 1, SQLITE_UTF8, &store, nextAutoNumber,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_note_autonumber", 2, SQLITE_UTF8, &store, noteAutoNumber,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_missing_parameter", 1, SQLITE_UTF8, &store,
                               missingParameter, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_identity", 0, SQLITE_UTF8, &store, identity, nullptr,
                               nullptr, nullptr);
}

}  // namespace orvdb::engine
