// One index page as the tree editor changes it: decoded entries and links,
// how many bytes a run of its entries takes, and the page image again.
//
// Page layout in format/index_page.hpp. Leaf entries of a tree with more
// than one leaf omit, after the first, the prefix common to the page's keys;
// node entries and the entries of a lone root leaf stay whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "jet/index/index_pages.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

struct IndexTreePage {
    uint32_t number = 0;
    bool leaf = true;
    uint32_t previous = 0;
    uint32_t next = 0;
    uint32_t tail = 0;  // node pages: the last child, listed by no entry
    // Leaf pages: the entries. Node pages: a copy of each child's last leaf
    // entry, with the child in `children` at the same position.
    std::vector<IndexEntry> entries;
    std::vector<uint32_t> children;

    // Whole, as a leaf or node entry.
    size_t entrySize(size_t position) const;
    // The bytes entries [begin, end) take on one page; `compressed` leaves
    // omit their common key prefix.
    size_t storedSize(size_t begin, size_t end, bool compressed) const;
    bool fits(bool compressed) const {
        return storedSize(0, entries.size(), compressed) <= index_page::kEntrySpace;
    }
    // The greatest leaf entry below this page, for pages listed by their
    // parent (leaves, and nodes without a tail).
    const IndexEntry& lastEntry() const { return entries.back(); }
};

// Reads page `number` of the index of the table at `tablePage`. Throws
// JetError naming the file, `label` (the table and index) and the page when
// it is not an index page of that table.
IndexTreePage loadIndexTreePage(PageStore& store, uint32_t number, uint32_t tablePage,
                                const std::string& label);

// Writes `page` over its page in `store`, entries whole from 0x1E0 on;
// `compressed` leaves get the longest prefix common to their keys.
void storeIndexTreePage(PageStore& store, const IndexTreePage& page, uint32_t tablePage,
                        bool compressed);

// How to cut a page that holds too much: Even for balanced halves; when
// entries arrive in ascending order at the end of the last page of a level,
// FillLeft keeps the left page full; FillRight likewise for descending
// entries at the start of the first page.
enum class SplitBias : uint8_t { Even, FillLeft, FillRight };

// Runs [begin, end) of `page`'s entries that each fit one page: one run when
// all fit and `minimumRuns` allows it, else two when some cut gives two that
// fit, else as few as packing from the left gives.
std::vector<std::pair<size_t, size_t>> partitionIndexTreePage(const IndexTreePage& page,
                                                              bool compressed, SplitBias bias,
                                                              size_t minimumRuns);

// The prefix common to the keys of a leaf's entries [begin, end), which are
// in order: that of the first and the last.
size_t commonKeyPrefix(const std::vector<IndexEntry>& entries, size_t begin, size_t end);

}  // namespace orvdb::jet
