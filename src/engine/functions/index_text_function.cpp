// jet_index_text(value, 'Table', 'Column'): Null when the text can be part of
// an index key in the file (every character has a General Legacy sort code);
// otherwise the statement fails at once, naming the character, instead of the
// file failing to save later.
#include "engine/engine_error.hpp"
#include "engine/functions/function_registry.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/messages.hpp"
#include "jet/index/index_key.hpp"

#include <cstdio>
#include <string>

namespace orvdb::engine::functions {

namespace {

void jetIndexText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const TextArg text(argv[0]);
        const TextArg table(argv[1]);
        const TextArg column(argv[2]);
        try {
            jet::encodeTextKey(std::string(text.view()), std::string(column.view()));
        } catch (const jet::IndexKeyError& e) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(e.character()));
            throw EngineError(msg::unsortableCharacter(table.view(), column.view(), code));
        }
    }
    sqlite3_result_null(ctx);
}

}  // namespace

void registerIndexTextFunction(sqlite3* db) {
    registerScalars(db, {{"jet_index_text", 3, 3, Purity::Deterministic, guarded<jetIndexText>}});
}

}  // namespace orvdb::engine::functions
