// The engine's exception: a message in Jet's wording where Jet has one.
#pragma once

#include <stdexcept>
#include <string>

namespace orvdb::engine {

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message) : std::runtime_error(message) {}
};

// Raised for SQL text the front end cannot accept (syntax, unknown names).
class SqlError : public EngineError {
public:
    using EngineError::EngineError;
};

}  // namespace orvdb::engine
