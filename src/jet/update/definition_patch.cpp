#include "jet/update/definition_patch.hpp"

#include <vector>

#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

namespace {

constexpr uint8_t kTdefPageType = 0x02;
constexpr size_t kContinuationHeader = 8;
constexpr size_t kNextPageOffset = 4;
constexpr size_t kRowCountOffset = 16;
constexpr size_t kAutoNumberOffset = 20;
constexpr size_t kColumnCountOffset = 45;
constexpr size_t kPhysicalIndexCountOffset = 51;
constexpr size_t kHeaderEnd = 63;
constexpr size_t kPhysicalIndexHeaderSize = 12;
constexpr size_t kEntryCountInHeader = 4;
constexpr size_t kColumnSize = 25;
constexpr size_t kPhysicalIndexSize = 52;
constexpr size_t kRootPageInIndex = 38;
constexpr uint32_t kMaxDefinitionPages = 256;

// The definition's bytes as one logical buffer over its chain of pages.
class DefinitionBytes {
public:
    DefinitionBytes(PageStore& pages, uint32_t firstPage) : pages_(pages) {
        uint32_t current = firstPage;
        while (current != 0) {
            if (chain_.size() >= kMaxDefinitionPages) {
                throwCorrupt(pages.fileName(), "the definition of the table at page " +
                                                   std::to_string(firstPage) + " is too long");
            }
            const PageBytes& page = pages.read(current);
            if (page[0] != kTdefPageType) {
                throwCorrupt(pages.fileName(), "page " + std::to_string(current) +
                                                   " should hold a table definition");
            }
            chain_.push_back(current);
            current = page[kNextPageOffset] | page[kNextPageOffset + 1] << 8 |
                      page[kNextPageOffset + 2] << 16 |
                      static_cast<uint32_t>(page[kNextPageOffset + 3]) << 24;
        }
    }

    size_t size() const { return chain_.size() * (kPageSize - kContinuationHeader) + kContinuationHeader; }

    uint8_t at(size_t offset) const {
        auto [page, within] = locate(offset);
        return pages_.read(page)[within];
    }
    uint16_t u16(size_t offset) const { return static_cast<uint16_t>(at(offset) | at(offset + 1) << 8); }
    uint32_t u32(size_t offset) const {
        return u16(offset) | static_cast<uint32_t>(u16(offset + 2)) << 16;
    }
    void putU32(size_t offset, uint32_t value) {
        for (size_t n = 0; n < 4; ++n) {
            auto [page, within] = locate(offset + n);
            auto byte = static_cast<uint8_t>(value >> (8 * n));
            if (pages_.read(page)[within] != byte) {
                pages_.modify(page)[within] = byte;
            }
        }
    }

private:
    std::pair<uint32_t, size_t> locate(size_t offset) const {
        if (offset < kPageSize) {
            return {chain_.front(), offset};
        }
        size_t rest = offset - kPageSize;
        size_t index = 1 + rest / (kPageSize - kContinuationHeader);
        if (index >= chain_.size()) {
            throwCorrupt(pages_.fileName(), "the table definition at page " +
                                                std::to_string(chain_.front()) + " ends early");
        }
        return {chain_[index], kContinuationHeader + rest % (kPageSize - kContinuationHeader)};
    }

    PageStore& pages_;
    std::vector<uint32_t> chain_;
};

}  // namespace

void patchTableDefinition(PageStore& pages, const TableDefinition& table) {
    DefinitionBytes bytes(pages, table.page);
    uint32_t physicalCount = bytes.u32(kPhysicalIndexCountOffset);
    if (physicalCount != table.physicalIndexes.size()) {
        throwCorrupt(pages.fileName(), "the definition of table '" + table.name + "' at page " +
                                           std::to_string(table.page) + " changed underneath");
    }
    bytes.putU32(kRowCountOffset, table.rowCount);
    bytes.putU32(kAutoNumberOffset, table.lastAutoNumber);
    size_t pos = kHeaderEnd;
    for (const PhysicalIndex& index : table.physicalIndexes) {
        bytes.putU32(pos + kEntryCountInHeader, index.entryCount);
        pos += kPhysicalIndexHeaderSize;
    }
    uint16_t columnCount = bytes.u16(kColumnCountOffset);
    pos += size_t{columnCount} * kColumnSize;
    for (uint16_t column = 0; column < columnCount; ++column) {
        pos += 2 + bytes.u16(pos);
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        bytes.putU32(pos + kRootPageInIndex, index.rootPage);
        pos += kPhysicalIndexSize;
    }
}

}  // namespace orvdb::jet
