#include "host/md5.hpp"

#include <nettle/md5.h>

namespace orvdb::host {

MD5Digest CalcMD5(std::span<const uint8_t> bytes) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, bytes.size(), bytes.data());
    MD5Digest digest{};
    md5_digest(&context, digest.size(), digest.data());
    return digest;
}

MD5Digest CalcMD5(std::string_view bytes) {
    return CalcMD5(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string MD5DigestToHex(const MD5Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digest.size() * 2);
    for (uint8_t byte : digest) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

}  // namespace orvdb::host
