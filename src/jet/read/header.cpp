#include "jet/read/header.hpp"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/rc4.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

constexpr size_t kSignatureOffset = 4;
constexpr std::string_view kJetSignature = "Standard Jet DB";
constexpr std::string_view kAceSignature = "Standard ACE DB";
constexpr size_t kVersionOffset = 0x14;
constexpr size_t kMaskedOffset = 0x18;
constexpr size_t kMaskedLength = 128;
constexpr std::array<uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr size_t kCodePageOffset = 0x3C;
constexpr size_t kEncryptionKeyOffset = 0x3E;
constexpr size_t kPasswordOffset = 0x42;
constexpr size_t kPasswordLength = 40;
constexpr size_t kSortOrderOffset = 0x6E;
constexpr size_t kSortVersionOffset = 0x71;
constexpr size_t kCreationDateOffset = 0x72;

bool hasSignature(std::span<const uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= kSignatureOffset + signature.size() &&
           std::memcmp(bytes.data() + kSignatureOffset, signature.data(), signature.size()) == 0;
}

// The password bytes are XORed with the whole-day part of the creation date,
// as four little-endian bytes repeated.
std::array<uint8_t, 4> passwordMask(double creationDate) {
    int32_t days = 0;
    if (std::isfinite(creationDate) && creationDate > -2147483648.0 &&
        creationDate < 2147483648.0) {
        days = static_cast<int32_t>(creationDate);
    }
    auto bits = static_cast<uint32_t>(days);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

}  // namespace

DatabaseHeader decodeHeader(std::span<const uint8_t> firstPage, const std::string& file) {
    bool jet = hasSignature(firstPage, kJetSignature);
    bool ace = hasSignature(firstPage, kAceSignature);
    if ((!jet && !ace) || firstPage.size() <= kVersionOffset || firstPage[0] != 0) {
        throwError(file, "is not an Access database (no Jet file signature)");
    }
    uint8_t version = firstPage[kVersionOffset];
    if (ace || version >= 0x02) {
        throwError(file,
                   "is an Access 2007 or later (ACE) database; only Access 2000 and later (Jet 4) "
                   ".mdb files are supported");
    }
    if (version == kJet3Version) {
        throwError(file,
                   "is an Access 97 (Jet 3) database; only Access 2000 and later (Jet 4) files "
                   "are supported");
    }
    if (firstPage.size() < kMaskedOffset + kMaskedLength) {
        throwCorrupt(file, "the header page is incomplete; the file is truncated");
    }

    std::vector<uint8_t> header(firstPage.begin(),
                                firstPage.begin() + kMaskedOffset + kMaskedLength);
    Rc4 mask(kHeaderMaskKey);
    mask.apply(std::span(header).subspan(kMaskedOffset, kMaskedLength));
    ByteView view(header, file);

    DatabaseHeader result;
    result.version = version;
    result.codePage = view.u16(kCodePageOffset);
    result.encryptionKey = view.u32(kEncryptionKeyOffset);
    result.sortOrder = view.u16(kSortOrderOffset);
    result.sortOrderVersion = view.u8(kSortVersionOffset);
    result.creationDate = view.f64(kCreationDateOffset);

    auto key = passwordMask(result.creationDate);
    for (size_t n = 0; n + 1 < kPasswordLength; n += 2) {
        auto low = static_cast<uint8_t>(view.u8(kPasswordOffset + n) ^ key[n % 4]);
        auto high = static_cast<uint8_t>(view.u8(kPasswordOffset + n + 1) ^ key[(n + 1) % 4]);
        char16_t unit = static_cast<char16_t>(low | (high << 8));
        if (unit == 0) {
            break;
        }
        result.password.push_back(unit);
    }
    return result;
}

void verifyPassword(const DatabaseHeader& header, const std::optional<std::string>& password,
                    const std::string& file) {
    if (header.password.empty()) {
        return;
    }
    if (!password || password->empty()) {
        throwError(file, "is protected by a password; open it with the database password");
    }
    if (utf8ToUtf16(*password) != header.password) {
        throwError(file, "wrong password: the database password does not match");
    }
}

}  // namespace orvdb::jet
