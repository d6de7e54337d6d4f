// The SQL texts the kinds hand out through Get_SQL. The host fills in the
// placeholders; an index outside a catalogue gives empty text.
#pragma once

#include <cstdint>
#include <string>

namespace orvdb::kinds {

std::string librarySql(int32_t index);
std::string providerSql(int32_t index);
std::string languageSql(int32_t index);

}  // namespace orvdb::kinds
