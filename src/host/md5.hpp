// MD5 of the host (CalcMD5, MD5DigestToHex), used for the application users'
// password hash. The hexadecimal text is lower-case.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvdb::host {

using MD5Digest = std::array<uint8_t, 16>;

MD5Digest CalcMD5(std::span<const uint8_t> bytes);
// The digest of the text's bytes as they are (callers convert code pages).
MD5Digest CalcMD5(std::string_view bytes);

// 32 lower-case hexadecimal digits.
std::string MD5DigestToHex(const MD5Digest& digest);

}  // namespace orvdb::host
