// Jet's wording for the errors its expression service raises.
#pragma once

#include "engine/engine_error.hpp"

namespace orvdb::engine::functions {

inline constexpr const char* kTypeMismatch = "Data type mismatch in criteria expression.";
inline constexpr const char* kInvalidProcedureCall = "Invalid procedure call or argument";
inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kDivisionByZero = "Division by zero";
inline constexpr const char* kInvalidUseOfNull = "Invalid use of Null";
inline constexpr const char* kInvalidPattern = "Invalid pattern string";
inline constexpr const char* kFieldTooSmall =
    "The field is too small to accept the amount of data you attempted to add.  Try inserting or "
    "pasting less data.";

[[noreturn]] inline void raise(const char* message) {
    throw EngineError(message);
}
[[noreturn]] inline void raiseTypeMismatch() {
    raise(kTypeMismatch);
}
[[noreturn]] inline void raiseInvalidCall() {
    raise(kInvalidProcedureCall);
}
[[noreturn]] inline void raiseOverflow() {
    raise(kOverflow);
}
[[noreturn]] inline void raiseDivisionByZero() {
    raise(kDivisionByZero);
}
[[noreturn]] inline void raiseInvalidUseOfNull() {
    raise(kInvalidUseOfNull);
}

}  // namespace orvdb::engine::functions
