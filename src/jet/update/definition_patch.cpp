#include "jet/update/definition_patch.hpp"

#include <array>
#include <vector>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/page.hpp"
#include "jet/format/tdef.hpp"
#include "jet/format/text_codec.hpp"

namespace orvdb::jet {

using namespace tdef;

namespace {

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
            if (page[jet::page::kType] != jet::page::kDefinitionType) {
                throwCorrupt(pages.fileName(),
                             "page " + std::to_string(current) + " should hold a table definition");
            }
            chain_.push_back(current);
            current = getU32(page, kNextPage);
        }
    }

    size_t size() const {
        return chain_.size() * (kPageSize - kContinuationHeader) + kContinuationHeader;
    }

    // A value may straddle two pages: its bytes are gathered one by one and
    // decoded by format/bytes.hpp.
    uint16_t u16(size_t offset) const { return getU16(gather<2>(offset), 0); }
    uint32_t u32(size_t offset) const { return getU32(gather<4>(offset), 0); }
    void putU32(size_t offset, uint32_t value) {
        std::array<uint8_t, 4> encoded{};
        ::orvdb::jet::putU32(encoded, 0, value);
        for (size_t n = 0; n < encoded.size(); ++n) {
            auto [page, within] = locate(offset + n);
            if (pages_.read(page)[within] != encoded[n]) {
                pages_.modify(page)[within] = encoded[n];
            }
        }
    }

private:
    template <size_t count>
    std::array<uint8_t, count> gather(size_t offset) const {
        std::array<uint8_t, count> bytes{};
        for (size_t n = 0; n < count; ++n) {
            auto [page, within] = locate(offset + n);
            bytes[n] = pages_.read(page)[within];
        }
        return bytes;
    }

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
    uint32_t physicalCount = bytes.u32(kPhysicalIndexCount);
    if (physicalCount != table.physicalIndexes.size()) {
        throwCorrupt(pages.fileName(), "the definition of table '" + table.name + "' at page " +
                                           std::to_string(table.page) + " changed underneath");
    }
    bytes.putU32(kRowCount, table.rowCount);
    bytes.putU32(kLastAutoNumber, table.lastAutoNumber);
    size_t pos = kHeaderSize;
    for (const PhysicalIndex& index : table.physicalIndexes) {
        bytes.putU32(pos + index_count::kEntries, index.entryCount);
        pos += index_count::kSize;
    }
    uint16_t columnCount = bytes.u16(kColumnCount);
    pos += size_t{columnCount} * column::kSize;
    for (uint16_t column = 0; column < columnCount; ++column) {
        pos += kStoredNameLengthSize + bytes.u16(pos);
    }
    for (const PhysicalIndex& index : table.physicalIndexes) {
        bytes.putU32(pos + physical_index::kRootPage, index.rootPage);
        pos += physical_index::kSize;
    }
}

}  // namespace orvdb::jet
