// Data pages: rows of a table, long values (LVAL pages) and usage-map rows.
// Read by read/data_page, written by write/data_page_writer.
//
//   OFFSET  SIZE  FIELD
//      0      1   page type 0x01
//      1      1   0x01
//      2      2   free space: kEmptySpace minus every row and its offset
//      4      4   owning table definition page; "LVAL" on long-value pages,
//                 0 on usage-map pages (1 on the global map's page)
//      8      4   0
//     12      2   row count
//     14    2*n   row offsets, one per row (flags below)
//
// Rows are packed downwards from the end of the page: row 0 ends at the end
// of the page, row n where row n-1 starts. A row offset's top bits are flags:
// kDeletedRow marks a slot with no row of its own (with kOverflowRow too a
// deleted row, alone the row an overflow row points at, which scans skip);
// kOverflowRow alone marks a row holding the pointer to where its data moved.
// Slots are the rows' identities: a deleted row keeps its slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "jet/format/page.hpp"

namespace orvdb::jet::data_page {

inline constexpr size_t kOwner = 4;
inline constexpr size_t kRowCount = 12;
inline constexpr size_t kRowOffsets = 14;
inline constexpr size_t kRowOffsetSize = 2;
// Where the offset of row `row` is stored.
constexpr size_t rowOffsetAt(size_t row) {
    return kRowOffsets + row * kRowOffsetSize;
}

// Row offset flags and the offset itself.
inline constexpr uint16_t kDeletedRow = 0x8000;
// The row holds only a row pointer to where its data moved.
inline constexpr uint16_t kOverflowRow = 0x4000;
inline constexpr uint16_t kOffsetMask = 0x1FFF;
inline constexpr uint16_t kFlagsMask = 0xE000;
// What Access writes for a deleted row.
inline constexpr uint16_t kDeletedRowFlags = kDeletedRow | kOverflowRow;

inline constexpr std::string_view kLongValueMark = "LVAL";  // at kOwner
// Jet fills the owner of the global usage map's page with 1.
inline constexpr uint32_t kGlobalMapOwner = 1;

// Free space of an empty page: everything after the row offsets' start.
inline constexpr size_t kEmptySpace = kPageSize - kRowOffsets;
// A row pointer keeps the row slot in one byte.
inline constexpr size_t kMaxRows = 255;

}  // namespace orvdb::jet::data_page
