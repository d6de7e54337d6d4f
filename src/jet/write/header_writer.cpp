#include "jet/write/header_writer.hpp"

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <span>

#include "jet/format/jet_error.hpp"
#include "jet/format/rc4.hpp"
#include "jet/read/header.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

namespace {

constexpr size_t kMaskedOffset = 0x18;
constexpr size_t kMaskedLength = 128;
constexpr std::array<uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr size_t kPasswordOffset = 0x42;
constexpr size_t kPasswordLength = 40;
constexpr size_t kCreationDateOffset = 0x72;

// The first 160 bytes of page 0 of a database the Jet 4.0 engine created
// (through ADOX), as stored: the 0x18..0x97 block is masked. Several fields
// in it (0x18..0x2F, 0x6A, the "4.0" tag at 0x98) have no known meaning, so a
// new file copies what Jet writes rather than composing its own.
constexpr std::array<uint8_t, 0xA0> kJetHeaderStart = {
    0x00, 0x01, 0x00, 0x00, 0x53, 0x74, 0x61, 0x6E, 0x64, 0x61, 0x72, 0x64, 0x20, 0x4A, 0x65, 0x74,
    0x20, 0x44, 0x42, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB5, 0x6E, 0x03, 0x62, 0x60, 0x09, 0xC2, 0x55,
    0xE9, 0xA9, 0x67, 0x72, 0x40, 0x3F, 0x00, 0x9C, 0x7E, 0x9F, 0x90, 0xFF, 0x85, 0x9A, 0x31, 0xC5,
    0x79, 0xBA, 0xED, 0x30, 0xBC, 0xDF, 0xCC, 0x9D, 0x63, 0xD9, 0xE4, 0xC3, 0x9F, 0x46, 0xFB, 0x8A,
    0xBC, 0x4E, 0xDF, 0x5E, 0xEC, 0x37, 0x04, 0xE1, 0x9C, 0xFA, 0x9F, 0xFB, 0x28, 0xE6, 0x4A, 0x13,
    0x8A, 0x60, 0x0D, 0x31, 0x7B, 0x36, 0xAC, 0xD7, 0xDF, 0xB1, 0x2E, 0x51, 0x13, 0x43, 0x96, 0x0A,
    0xB1, 0x33, 0x6D, 0xC4, 0x79, 0x5B, 0xCB, 0x10, 0x7C, 0x2A, 0x19, 0xD7, 0x7C, 0x99, 0x08, 0x1F,
    0x98, 0xFD, 0x2C, 0xCA, 0x99, 0xAF, 0x52, 0x95, 0x84, 0x66, 0x5F, 0x95, 0xF8, 0xD0, 0x89, 0x24,
    0x85, 0x67, 0xC6, 0x1F, 0x27, 0x44, 0xD2, 0xEE, 0xCF, 0x65, 0xED, 0xFF, 0x07, 0xC7, 0x46, 0xA1,
    0x78, 0x16, 0x0C, 0xED, 0xE9, 0x2D, 0x62, 0xD4, 0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00,
};
// Jet ends page 0 with a 256-entry table of u16 values at 0xE00: 0x0101
// first, then 0x0100 (bytes 00 01) for every other entry.
constexpr size_t kTrailerTableOffset = 0xE00;

void toggleMask(std::span<uint8_t> page) {
    Rc4 mask(kHeaderMaskKey);
    mask.apply(page.subspan(kMaskedOffset, kMaskedLength));
}

std::array<uint8_t, 4> dateKey(double creationDate) {
    int32_t days = 0;
    if (std::isfinite(creationDate) && std::fabs(creationDate) < 2147483647.0) {
        days = static_cast<int32_t>(creationDate);
    }
    auto bits = static_cast<uint32_t>(days);
    return {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

}  // namespace

std::vector<uint8_t> newDatabaseHeaderPage(std::optional<double> creationDate) {
    std::vector<uint8_t> page(kPageSize, 0);
    std::copy(kJetHeaderStart.begin(), kJetHeaderStart.end(), page.begin());
    page[kTrailerTableOffset] = 0x01;
    for (size_t offset = kTrailerTableOffset + 1; offset < kPageSize; offset += 2) {
        page[offset] = 0x01;
    }
    if (creationDate) {
        setHeaderCreationDate(page, *creationDate);
    }
    return page;
}

void setHeaderCreationDate(std::vector<uint8_t>& headerPage, double creationDate) {
    toggleMask(headerPage);
    double oldDate = 0;
    std::memcpy(&oldDate, headerPage.data() + kCreationDateOffset, sizeof oldDate);
    auto oldKey = dateKey(oldDate);
    auto newKey = dateKey(creationDate);
    for (size_t n = 0; n < kPasswordLength; ++n) {
        headerPage[kPasswordOffset + n] ^= oldKey[n % 4] ^ newKey[n % 4];
    }
    auto bits = std::bit_cast<uint64_t>(creationDate);
    for (size_t n = 0; n < 8; ++n) {
        headerPage[kCreationDateOffset + n] = static_cast<uint8_t>(bits >> (8 * n));
    }
    toggleMask(headerPage);
}

void checkHeaderPage(const std::vector<uint8_t>& headerPage, const std::string& file) {
    if (headerPage.size() != kPageSize) {
        throwError(file, "cannot be written: the header page has " +
                             std::to_string(headerPage.size()) + " bytes instead of " +
                             std::to_string(kPageSize));
    }
    DatabaseHeader header = decodeHeader(headerPage, file);
    if (header.encryptionKey != 0) {
        throwError(file,
                   "cannot be written: the header asks for encoded (encrypted) pages, "
                   "which this writer does not produce");
    }
}

}  // namespace orvdb::jet
