// Text comparison as Jet's General sort order sees it: letter case does not
// matter, accents do ("abc" = "ABC", "e" < "é" < "f").
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace orvdb::engine {

inline constexpr const char* kJetCollationName = "JETTEXT";

// Registers the collation JETTEXT on the connection. Throws EngineError when
// SQLite or ICU refuse.
void registerJetCollation(sqlite3* db);

// <0, 0, >0 as JETTEXT orders the two UTF-8 texts.
int jetCompareText(std::string_view a, std::string_view b);

// A key that is byte-for-byte equal exactly when JETTEXT calls the texts
// equal: usable as a map key for case-insensitive name lookup. Not text.
std::string jetFoldKey(std::string_view text);

}  // namespace orvdb::engine
