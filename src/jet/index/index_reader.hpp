// Reads the B-tree of an existing index: one page at a time, or every leaf
// entry in order from the root down.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/format/byte_view.hpp"
#include "jet/index/index_pages.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::jet {

// A real index of a 2 GB file has at most a handful of levels; deeper trees
// are damaged.
inline constexpr int kMaxIndexDepth = 16;

struct ParsedIndexPage {
    uint32_t number = 0;
    uint8_t type = 0;  // page::kIndexNodeType or page::kIndexLeafType
    uint16_t freeSpace = 0;
    uint32_t tablePage = 0;
    uint32_t previousPage = 0;
    uint32_t nextPage = 0;
    uint32_t childTailPage = 0;
    uint16_t prefixLength = 0;
    // Leaf pages: key and row. Node pages: the repeated child entry and the
    // child page in `children` (same positions).
    std::vector<IndexEntry> entries;
    std::vector<uint32_t> children;

    bool isLeaf() const { return type == page::kIndexLeafType; }
};

// Decodes one index page image. Throws JetError naming the file and page
// when it is not an index page or its entries do not add up.
ParsedIndexPage parseIndexPage(const ByteView& page, uint32_t number);

// Every leaf entry under `rootPage`, in tree order. Throws JetError when a
// page is not an index page of `tablePage`'s table, a page is reached twice
// or the tree is deeper than any real index.
std::vector<IndexEntry> readIndexEntries(PageSource& source, uint32_t rootPage, uint32_t tablePage);

}  // namespace orvdb::jet
