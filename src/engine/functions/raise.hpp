// Short ways for the expression service to raise Jet's errors (texts in
// engine/messages.hpp).
#pragma once

#include "engine/engine_error.hpp"
#include "engine/messages.hpp"

namespace orvdb::engine::functions {

[[noreturn]] inline void raise(const char* message) {
    throw EngineError(message);
}
[[noreturn]] inline void raiseTypeMismatch() {
    raise(msg::kTypeMismatch);
}
[[noreturn]] inline void raiseInvalidCall() {
    raise(msg::kInvalidProcedureCall);
}
[[noreturn]] inline void raiseOverflow() {
    raise(msg::kOverflow);
}
[[noreturn]] inline void raiseDivisionByZero() {
    raise(msg::kDivisionByZero);
}
[[noreturn]] inline void raiseInvalidUseOfNull() {
    raise(msg::kInvalidUseOfNull);
}

}  // namespace orvdb::engine::functions
