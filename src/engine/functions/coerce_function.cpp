// jet_coerce(value, jetTypeCode, size, 'Table.Column'[, precision, scale]):
// the conversion of a value stored into a column (see column_coercion.hpp).
#include "engine/functions/column_coercion.hpp"
#include "engine/functions/function_registry.hpp"
#include "engine/functions/raise.hpp"
#include "engine/functions/sqlite_args.hpp"
#include "engine/messages.hpp"

#include <string>

namespace orvdb::engine::functions {

namespace {

ValueView viewOf(sqlite3_value* value) {
    ValueView view;
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            view.kind = ValueView::Integer;
            view.integer = sqlite3_value_int64(value);
            break;
        case SQLITE_FLOAT:
            view.kind = ValueView::Real;
            view.real = sqlite3_value_double(value);
            break;
        case SQLITE_TEXT:
            view.kind = ValueView::Text;
            view.bytes = storedText(value);
            break;
        case SQLITE_BLOB: {
            view.kind = ValueView::Blob;
            const void* blob = sqlite3_value_blob(value);
            view.bytes = blob ? std::string_view(static_cast<const char*>(blob),
                                                 static_cast<size_t>(sqlite3_value_bytes(value)))
                              : std::string_view();
            break;
        }
        default:
            break;
    }
    return view;
}

void resultValue(sqlite3_context* ctx, const SqlValue& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        sqlite3_result_int64(ctx, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        sqlite3_result_double(ctx, *d);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        resultText(ctx, *text);
    } else if (const auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
        sqlite3_result_blob64(ctx, bytes->data(), bytes->size(), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(ctx);
    }
}

void jetCoerce(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const int code = sqlite3_value_int(argv[1]);
    const std::optional<JetType> type = jetTypeFromCode(code);
    if (!type) {
        throw EngineError(msg::unknownTypeCode(code));
    }
    ColumnCoercion coercion;
    coercion.type = *type;
    coercion.size = sqlite3_value_int(argv[2]);
    if (argc >= 6) {
        coercion.precision = sqlite3_value_int(argv[4]);
        coercion.scale = isNullArg(argv[5]) ? -1 : sqlite3_value_int(argv[5]);
    }
    try {
        SqlValue converted;
        if (coerceValue(viewOf(argv[0]), coercion, converted)) {
            resultValue(ctx, converted);
        } else {
            sqlite3_result_value(ctx, argv[0]);
        }
    } catch (const EngineError& e) {
        const TextArg column(argv[3]);
        throw EngineError(
            msg::coercionFailed(e.what(), isNullArg(argv[3]) ? std::string_view() : column.view()));
    }
}

}  // namespace

void registerCoerceFunction(sqlite3* db) {
    registerScalars(db, {
                            {"jet_coerce", 4, 4, Purity::Deterministic, guarded<jetCoerce>},
                            {"jet_coerce", 6, 6, Purity::Deterministic, guarded<jetCoerce>},
                        });
}

}  // namespace orvdb::engine::functions
