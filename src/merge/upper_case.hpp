// Upper-casing of table and field names: the merge configuration and the
// names it is compared with are both upper-cased whole, so that plain
// equality matches them whatever their letter case ("Été" and "ÉTÉ" too).
#pragma once

#include <string>
#include <string_view>

namespace orvdb::merge {

std::string upperCased(std::string_view text);

}  // namespace orvdb::merge
