// Index B-trees: the entries of one index laid out as leaf and node pages
// (format/index_page.hpp).
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "jet/format/index_page.hpp"
#include "jet/format/page.hpp"
#include "jet/format/row_pointer.hpp"

namespace orvdb::jet {

// One row's entry in an index: the encoded key and where the row is.
// Entries order by key bytes, then by row.
struct IndexEntry {
    std::vector<uint8_t> key;
    RowPointer row;
    auto operator<=>(const IndexEntry&) const = default;
};

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
        uint32_t row = 0;  // RowPointer::raw()
        uint16_t length = 0;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Ref> refs_;
    size_t keyStart_ = 0;
};

struct IndexLayout {
    std::map<uint32_t, PageBytes> pages;  // by page number
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
