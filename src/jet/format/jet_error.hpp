// The one exception type of the Jet codec. Every message names the file.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvdb::jet {

class JetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<file>: <reason>"
[[noreturn]] void throwError(std::string_view file, std::string_view reason);

// "<file>: the file is damaged (<reason>)" -- for structures that contradict
// themselves or point outside the file.
[[noreturn]] void throwCorrupt(std::string_view file, std::string_view reason);

}  // namespace orvdb::jet
