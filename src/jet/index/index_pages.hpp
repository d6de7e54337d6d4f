// Index B-tree pages: the page format shared by reading and writing, and the
// layout of a whole index from its entries.
//
// Page header: type (0x03 node, 0x04 leaf), 01, free space (u16), owning
// table definition page (u32), 0 (u32), previous and next sibling (u32), the
// child-tail page (u32, node pages), the length of the prefix common to the
// entries (u16), a byte Access sets to 1 on node pages, then a bitmask with a
// bit set at the end of each entry. Entries start at 0x1E0; the first one is
// whole, the others omit the common prefix. Inside entries numbers are
// big-endian: a leaf entry is the key, the row's page (3 bytes) and row
// slot; a node entry repeats the last entry of its child and adds the child
// page (4 bytes). The rightmost child of the last node page of a level is
// not listed: the child-tail field points to it.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

namespace index_page {
inline constexpr uint8_t kNode = 0x03;
inline constexpr uint8_t kLeaf = 0x04;
inline constexpr size_t kFreeSpaceOffset = 2;
inline constexpr size_t kTablePageOffset = 4;
inline constexpr size_t kPreviousOffset = 12;
inline constexpr size_t kNextOffset = 16;
inline constexpr size_t kChildTailOffset = 20;
inline constexpr size_t kPrefixLengthOffset = 24;
inline constexpr size_t kNodeMarkerOffset = 26;
inline constexpr size_t kBitmaskOffset = 27;
inline constexpr size_t kEntriesOffset = 0x1E0;
inline constexpr size_t kEntrySpace = kPageSize - kEntriesOffset;
inline constexpr size_t kRowPointerSize = 4;  // 3-byte page + row slot
inline constexpr size_t kChildPointerSize = 4;
}  // namespace index_page

// One row's entry in an index: the encoded key and where the row is.
// Entries order by key bytes, then by row.
struct IndexEntry {
    std::vector<uint8_t> key;
    RowPointer row;
    auto operator<=>(const IndexEntry&) const = default;
};

using PageImage = std::array<uint8_t, kPageSize>;

// The entries of one index as the writer collects them, the keys side by
// side in one buffer: a large table gives millions of short keys.
//
//   list.keyBytes() ... append the key's bytes ...; list.add(row);
class IndexEntryList {
public:
    // The buffer the next key is appended to.
    std::vector<uint8_t>& keyBytes() { return bytes_; }
    // Closes the entry whose key is what was appended since the last add.
    // Throws JetError for a key longer than any index page can hold.
    void add(RowPointer row);
    void reserve(size_t entries) { refs_.reserve(entries); }

    size_t size() const { return refs_.size(); }
    std::span<const uint8_t> key(size_t n) const {
        return {bytes_.data() + refs_[n].offset, refs_[n].length};
    }
    RowPointer row(size_t n) const { return RowPointer::fromRaw(refs_[n].row); }
    // Orders the entries by key bytes, then by row.
    void sort();

private:
    struct Ref {
        uint64_t head = 0;  // the first 8 key bytes, big-endian: most comparisons end here
        uint32_t offset = 0;
        uint32_t row = 0;  // page << 8 | slot, as Jet stores it
        uint16_t length = 0;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Ref> refs_;
    size_t keyStart_ = 0;
};

struct IndexLayout {
    std::map<uint32_t, PageImage> pages;  // by page number
    uint32_t rootPage = 0;
    uint32_t uniqueEntryCount = 0;  // distinct keys: the table definition records it
};

// Sorts `entries` and lays them out as leaf pages and, when they do not fit
// one page, node pages above them. Every page comes from `allocatePage`;
// `tablePage` is the owning table definition. No entries give one empty leaf
// root. Throws JetError when one entry is too long for a page.
IndexLayout layOutIndex(IndexEntryList entries, uint32_t tablePage,
                        const std::function<uint32_t()>& allocatePage);

}  // namespace orvdb::jet
