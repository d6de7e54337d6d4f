// The bundled upgrade strings of the manager database (tools/orvdb/
// manager_strings.txt, one a line): entry 23 names the administrators.
#pragma once

#include <string_view>

namespace orvdb::cli {

std::string_view defaultManagerStrings();

}  // namespace orvdb::cli
