// UTF-8 text measured in UTF-16 code units, as VBA measures strings: Len, Mid,
// InStr and the field sizes of Text columns count a character outside the
// Basic Multilingual Plane as 2. A cut that falls between the two halves of
// such a character leaves a lone half, which UTF-8 cannot carry: that half
// becomes U+FFFD, so lengths stay what VBA reports.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvdb::engine::functions {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at text[pos] and advances pos. A malformed byte gives
// U+FFFD and advances by one.
char32_t nextCodePoint(std::string_view text, size_t& pos);
void appendUtf8(std::string& out, char32_t codePoint);

bool isAscii(std::string_view text);
bool isValidUtf8(std::string_view text);
size_t utf16Length(std::string_view text);

// The text from UTF-16 unit `start` (0-based), at most `count` units. Returns
// a view into `text` when no surrogate pair is split, else the pieces are
// assembled in `scratch` and a view of it is returned.
std::string_view sliceUtf16(std::string_view text, size_t start, size_t count,
                            std::string& scratch);

}  // namespace orvdb::engine::functions
