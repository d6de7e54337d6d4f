// Index B-tree pages, read by index/index_reader, written by
// index/index_pages; check/ walks them.
//
//   OFFSET  SIZE  FIELD
//      0      1   page type: 0x03 node, 0x04 leaf
//      1      1   0x01
//      2      2   free space: page size - end of the last entry
//      4      4   owning table definition page
//      8      4   0
//     12      4   previous page of the same level, 0 for the first
//     16      4   next page of the same level, 0 for the last
//     20      4   node pages: child-tail page (below), else 0
//     24      2   length of the prefix common to the page's entries
//     26      1   1 on node pages, else 0
//     27    453   bitmask: bit k set = an entry ends k bytes after 0x1E0
//  0x1E0          entries: the first whole, the others without the prefix
//
// Inside entries numbers are big-endian. A leaf entry is the key, the row's
// page (3 bytes) and row slot (1 byte); a node entry repeats the last entry
// of its child and adds the child page (4 bytes). The rightmost child of the
// last node page of a level is not listed: the child-tail field points to it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/format/page.hpp"

namespace orvdb::jet::index_page {

inline constexpr size_t kTablePage = 4;
inline constexpr size_t kPrevious = 12;
inline constexpr size_t kNext = 16;
inline constexpr size_t kChildTail = 20;
inline constexpr size_t kPrefixLength = 24;
inline constexpr size_t kNodeMarker = 26;
inline constexpr uint8_t kNodeMarkerValue = 0x01;
inline constexpr size_t kBitmask = 27;
inline constexpr size_t kEntries = 0x1E0;
inline constexpr size_t kEntrySpace = kPageSize - kEntries;

// Within an entry, after the key.
inline constexpr size_t kRowPageSize = 3;
inline constexpr size_t kRowPointerSize = 4;  // row page + row slot
inline constexpr size_t kChildPointerSize = 4;

}  // namespace orvdb::jet::index_page
