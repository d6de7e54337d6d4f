// Conversions between the values at the interface (wide strings, 16-bit
// booleans, out pointers) and the UTF-8 texts the engine works with.
#pragma once

#include <orvdb/types.h>

#include <string>
#include <string_view>

#include "data/messages.hpp"
#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::data {

inline std::string utf8(OrvBstr text) {
    return host::toUtf8(host::bstrView(text));
}

inline OrvWordBool wordBool(bool value) {
    return value ? ORV_WTRUE : ORV_WFALSE;
}

// An out pointer the caller must supply; a null one fails the operation.
template <class T>
T& outArgument(T* pointer, const char* operation) {
    if (!pointer) {
        throw host::StatusError(ORV_E_POINTER, msg::nullOutArgument(operation));
    }
    return *pointer;
}

// Hands a new wide string to the caller (who frees it).
inline void setOut(OrvBstr* out, std::u16string_view text, const char* operation) {
    OrvBstr& target = outArgument(out, operation);
    target = host::Bstr(text).release();
}

inline void setOutUtf8(OrvBstr* out, std::string_view text, const char* operation) {
    setOut(out, host::toUtf16(text), operation);
}

}  // namespace orvdb::data
