#include "engine/functions/jet_functions.hpp"

#include "engine/functions/function_registry.hpp"

namespace orvdb::engine {

void registerJetFunctions(sqlite3* db) {
    functions::registerOperatorFunctions(db);
    functions::registerTextFunctions(db);
    functions::registerConversionFunctions(db);
    functions::registerNumericFunctions(db);
    functions::registerDateFunctions(db);
    functions::registerFormatFunction(db);
    functions::registerChoiceFunctions(db);
    functions::registerAggregateFunctions(db);
    functions::registerCoerceFunction(db);
    functions::registerIndexTextFunction(db);
}

}  // namespace orvdb::engine
