#include "jet/read/header.hpp"

#include <cstring>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/format/header_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

namespace {

using namespace header_page;

bool hasSignature(std::span<const uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= kSignature + signature.size() &&
           std::memcmp(bytes.data() + kSignature, signature.data(), signature.size()) == 0;
}

}  // namespace

DatabaseHeader decodeHeader(std::span<const uint8_t> firstPage, const std::string& file) {
    bool jet = hasSignature(firstPage, kJetSignature);
    bool ace = hasSignature(firstPage, kAceSignature);
    if ((!jet && !ace) || firstPage.size() <= kVersion || firstPage[0] != 0) {
        throwError(file, "is not an Access database (no Jet file signature)");
    }
    uint8_t version = firstPage[kVersion];
    if (ace || version > kJet4Version) {
        throwError(file,
                   "is an Access 2007 or later (ACE) database; only Access 2000 and later (Jet 4) "
                   ".mdb files are supported");
    }
    if (version == kJet3Version) {
        throwError(file,
                   "is an Access 97 (Jet 3) database; only Access 2000 and later (Jet 4) files "
                   "are supported");
    }
    if (firstPage.size() < kMaskedStart + kMaskedLength) {
        throwCorrupt(file, "the header page is incomplete; the file is truncated");
    }

    std::vector<uint8_t> header(firstPage.begin(),
                                firstPage.begin() + kMaskedStart + kMaskedLength);
    toggleMask(header);
    ByteView view(header, file);

    DatabaseHeader result;
    result.version = version;
    result.codePage = view.u16(kCodePage);
    result.encryptionKey = view.u32(kEncryptionKey);
    result.sortOrder = view.u16(kSortOrder);
    result.sortOrderVersion = view.u8(kSortOrderVersion);
    result.creationDate = view.f64(kCreationDate);

    auto key = passwordMask(result.creationDate);
    for (size_t n = 0; n + 1 < kPasswordLength; n += 2) {
        auto low = static_cast<uint8_t>(view.u8(kPassword + n) ^ key[n % 4]);
        auto high = static_cast<uint8_t>(view.u8(kPassword + n + 1) ^ key[(n + 1) % 4]);
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
