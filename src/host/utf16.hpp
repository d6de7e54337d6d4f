// UTF-8 <-> UTF-16 conversion for everything that crosses the boundary.
// Malformed input never fails: invalid UTF-8 sequences and unpaired
// surrogates come out as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace orvdb::host {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// Copies UTF-8 text into a C buffer of `size` bytes, null-terminated, cut at
// a character boundary when it does not fit; returns utf8.size() (the bytes
// the whole text needs, terminator excluded), as snprintf does.
size_t copyUtf8ToBuffer(std::string_view utf8, char* buffer, size_t size) noexcept;

}  // namespace orvdb::host
