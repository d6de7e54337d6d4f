// The functions Access SQL may call, with their argument counts and result
// types. Most run as SQLite user functions named jet_<lowercase name>; a few
// become SQLite syntax (IIf, IsNull, Switch, the standard aggregates).
#pragma once

#include "engine/jet_types.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvdb::engine::sql {

enum class FunctionEmit : uint8_t {
    JetCall,  // jet_<lower>(args)
    Iif,      // CASE WHEN a THEN b ELSE c END
    Switch,   // CASE WHEN a THEN b WHEN c THEN d END
    IsNull,   // (a IS NULL)
    Count,    // COUNT(*) / COUNT(a)
    Sum,
    Avg,
    Min,
    Max,
    JetAggregate,  // jet_first, jet_last, jet_stdev, ...
};

enum class FunctionResult : uint8_t {
    Fixed,     // resultType
    FirstArg,  // the type of the first argument
    Branches,  // IIf: the type both branches share, else unknown
    Sum,       // Sum: Currency/Decimal stay, other numbers give Double
    Unknown,
};

struct FunctionInfo {
    std::string_view name;  // canonical spelling
    uint8_t minArgs;
    uint8_t maxArgs;  // kVariadic: no upper bound
    FunctionEmit emit;
    FunctionResult result;
    JetType resultType;
    bool aggregate() const { return emit >= FunctionEmit::Count; }
};

inline constexpr uint8_t kVariadic = 255;

// nullptr when Jet has no such function (names compare without regard to case).
const FunctionInfo* findFunction(std::string_view name);

}  // namespace orvdb::engine::sql
