// Page 0 of a Jet file: recognition, the masked block, the database password.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvdb::jet {

struct DatabaseHeader {
    uint8_t version = 0;         // 0x01 for Jet 4
    uint16_t codePage = 0;       // 1252 for western files
    uint32_t encryptionKey = 0;  // non-zero: pages after 0 are RC4-encoded
    uint16_t sortOrder = 0;      // collation LCID, 0x0409 = General
    uint8_t sortOrderVersion = 0;
    double creationDate = 0;  // OLE date; also the password mask
    std::u16string password;  // empty when the database has none
};

// Recognises the file from its first bytes (at most one page) and decodes the
// header. Throws JetError naming `file` for anything but a Jet 4 file.
DatabaseHeader decodeHeader(std::span<const uint8_t> firstPage, const std::string& file);

// Throws JetError when the database has a password and `password` is
// missing or different. Jet compares passwords case-sensitively.
void verifyPassword(const DatabaseHeader& header, const std::optional<std::string>& password,
                    const std::string& file);

}  // namespace orvdb::jet
