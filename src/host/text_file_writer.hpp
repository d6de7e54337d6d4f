// WriteSL: the host's writer of a list of lines to a text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvdb::host {

// Encoding codes.
constexpr int kEncodingUtf8 = 0;         // UTF-8 without a byte-order mark
constexpr int kEncodingUtf8WithBom = 1;  // UTF-8 preceded by EF BB BF

// Writes the lines (UTF-8 texts), each followed by CR LF as the suite's tools
// expect, to the file at the suite path `fileName`, replacing it. The text
// goes to a temporary file in the same folder that is then renamed over the
// target, so a failed write leaves the old file intact. Throws
// std::invalid_argument for an unknown encoding code and std::runtime_error
// naming the file when it cannot be written.
void WriteSL(std::string_view fileName, const std::vector<std::string>& lines, int encoding);

}  // namespace orvdb::host
