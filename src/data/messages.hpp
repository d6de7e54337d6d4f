// Every message the connection object and the cursors raise themselves (the
// engine's come from engine/messages.hpp): what failed, in which operation,
// why. Texts the host matches on keep their exact wording.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvdb::data::msg {

// An interface operation called with a null pointer where it needs an
// object: operation, then which argument.
std::string nullArgument(std::string_view operation, std::string_view argument);
std::string nullOutArgument(std::string_view operation);
std::string listIndexOutOfBounds(std::string_view operation, int32_t index);

// The host matches on this text; the type is never named in it.
inline constexpr const char* kUnknownFieldType = "Error Ado Database Unknown FieldType[Unknown]";

// Serialised objects in blob fields.
std::string usedAfterCall(std::string_view operation, std::string_view adapter);
std::string invalidBuffer(std::string_view operation, int32_t size);
inline constexpr const char* kReadPastEnd = "the object reads past the end of its stored data";
std::string noHostObject(std::string_view key);
std::string notSerialisable(std::string_view key);

// The report designer's select trace.
std::string traceNotWritable(std::string_view path, std::string_view why);

}  // namespace orvdb::data::msg
