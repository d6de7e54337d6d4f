// A host collection of wide texts (IWideStringCollection) over UTF-8
// strings: what a host hands the manager database kind as its upgrade
// strings.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

ComPtr<IWideStringCollection> makeStringCollection(std::vector<std::string> texts);

// One text a line (a leading BOM and the CR of CRLF dropped); a last line
// without its newline counts, a text ending in a newline has no empty last
// line.
std::vector<std::string> textLines(std::string_view text);
// The lines of a UTF-8 file, as textLines. Throws std::runtime_error naming
// the file when it cannot be read or is not UTF-8.
std::vector<std::string> readTextLines(const std::string& file);

}  // namespace orvdb::host
