// Edits one usage-map row in place (layout in format/usage_map.hpp): the
// pages a table, an index or a long-value column owns. The row keeps its
// length (Access writes 69 bytes).
//
// A page outside an inline map's range makes the row be encoded again as
// the writer encodes a new map of the resulting pages: the start page moves,
// or the row becomes a reference map. Reference maps get a map page for a
// run of pages when the first page of that run is added. Removing only
// clears bits. Not for the global map of page 1, whose bits mean "free".
//
//   UsageMapEditor map(store, index.usageMap, "pages of table 'Orders', index 'PrimaryKey'");
//   map.add(newPage);
//   map.remove(releasedPage);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/format/row_pointer.hpp"
#include "jet/update/page_store.hpp"

namespace orvdb::jet {

class UsageMapEditor {
public:
    // `what` names the map in error messages. Nothing is read until the first
    // call: every call reads the row afresh, so several editors may work on
    // rows of the same page.
    UsageMapEditor(PageStore& store, RowPointer where, std::string what);

    bool contains(uint32_t page);
    // False when the page was listed already. Throws JetError when no map
    // row of this length can reach the page.
    bool add(uint32_t page);
    // False when the page was not listed.
    bool remove(uint32_t page);
    // Every listed page, ascending.
    std::vector<uint32_t> pages();

private:
    struct Row;
    Row locate(bool forChange);
    void encodeAgain(Row& row, std::vector<uint32_t> pages);

    PageStore& store_;
    RowPointer where_;
    std::string what_;
};

}  // namespace orvdb::jet
