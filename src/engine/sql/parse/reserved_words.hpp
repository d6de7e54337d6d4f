// Words that Jet does not accept unbracketed as a name.
#pragma once

#include <string_view>

namespace orvdb::engine::sql {

// True when word (any case) is reserved: "Position" must be written [Position].
bool isReservedWord(std::string_view word);

}  // namespace orvdb::engine::sql
