// Text in the system's ANSI code page, for the few places where the suite
// hashes or stores bytes rather than characters. The code page is
// Windows-1252, that of the suite's Western installations.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::host {

// The UTF-8 text as Windows-1252 bytes. A character the code page lacks
// becomes its nearest letter where the code page's table gives one, else
// '?', as Windows converts without a default character of its own.
std::string toSystemCodePage(std::string_view utf8);

}  // namespace orvdb::host
