// Text as Jet stores it: UTF-16LE, or the "compressed" form that starts with
// FF FE and switches between one-byte and two-byte code units at each 00.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "jet/format/byte_view.hpp"

namespace orvdb::jet {

// The two bytes that open compressed text.
inline constexpr uint8_t kCompressedTextMark[2] = {0xFF, 0xFE};

// Decodes a stored Text/Memo value (either form) to UTF-8. Unpaired
// surrogates become U+FFFD; an odd trailing byte is ignored.
std::string decodeJetText(std::span<const uint8_t> stored);
// The same into `out` (replaced), so that a caller decoding many values can
// keep one buffer.
void decodeJetText(std::span<const uint8_t> stored, std::string& out);

// Plain UTF-16LE (names in table definitions, property blocks) to UTF-8.
std::string utf16leToUtf8(std::span<const uint8_t> bytes);

// A name as definitions and property blocks store it: u16 byte length, then
// UTF-16LE. Reads the one at `pos` and moves `pos` past it.
inline constexpr size_t kStoredNameLengthSize = 2;
std::string readStoredName(const ByteView& view, size_t& pos);

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace orvdb::jet
