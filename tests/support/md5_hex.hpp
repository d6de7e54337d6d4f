// MD5 of some bytes as lower-case hexadecimal, taken with nettle directly:
// the reference the password hash tests compare with.
#pragma once

#include <nettle/md5.h>

#include <cstdio>
#include <string>

namespace orvdb::test_support {

inline std::string md5Hex(const std::string& bytes) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&context, sizeof digest, digest);
    std::string hex;
    for (uint8_t byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

}  // namespace orvdb::test_support
