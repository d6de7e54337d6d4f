// Values of the working store as the Jet writer takes them: the reverse of
// how the mirror stores a Jet value (see jet_types.hpp for the storage
// classes).
#pragma once

#include "jet/format/column.hpp"
#include "jet/format/value.hpp"

#include <sqlite3.h>

#include <string_view>

namespace orvdb::engine {

// The value in result column `index` of `statement`, for `column`. Throws
// EngineError naming `table` and the column when the value cannot be stored
// in it (a GUID or decimal text that does not parse).
jet::Value jetValueFromStore(sqlite3_stmt* statement, int index, const ::orvdb::jet::Column& column,
                             std::string_view table);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional) as stored bytes;
// false when the text is no GUID.
bool parseGuid(std::string_view text, ::orvdb::jet::Guid& guid);

// A decimal text with exactly `scale` decimals (extra ones are cut, missing
// ones filled with zeros); false when the text is no number.
bool normalizeDecimal(std::string_view text, unsigned scale, std::string& out);

}  // namespace orvdb::engine
