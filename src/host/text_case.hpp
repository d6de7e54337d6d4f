// Letter-case-insensitive text comparison for names that come from the suite
// (file names, database names). Full Unicode case folding, so "Français" and
// "FRANÇAIS" match, not only ASCII letters.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::host {

// The case-folded form of a UTF-8 text; equal folds mean equal ignoring case.
std::string foldCase(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace orvdb::host
