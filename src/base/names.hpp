// The one case-insensitive comparison of names for every layer: tables,
// columns, indexes, queries, properties, files, settings. Unicode simple
// case folding, so "Été" and "ÉTÉ" are one table to the codec, the engine and
// the host alike; accents still count ("Genève" is not "Geneve").
#pragma once

#include <string>
#include <string_view>

namespace orvdb::base {

// True when a and b fold to the same text.
bool sameName(std::string_view a, std::string_view b);

// The folded form of a UTF-8 name, as a key: equal keys, same name. Bytes
// that are not UTF-8 are kept as they are.
std::string foldName(std::string_view name);

}  // namespace orvdb::base
