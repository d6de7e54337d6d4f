// Rows of a table, read by read/row_decoder, written by write/row_writer.
//
//   OFFSET          SIZE  FIELD
//      0              2   column count: the table's max columns when written
//      2              f   fixed-length area, always complete, even for Nulls;
//                         a column's fixed offset counts from here
//    2+f              v   variable-length data
//   and from the end of the row backwards, m = (column count + 7) / 8:
//   end-m             m   null mask: bit = column number, 1 = not Null
//   end-m-2           2   variable-column count n
//   end-m-4-2k        2   start of variable column k (k = 0 .. n-1)
//   end-m-4-2n        2   end of the variable data
//
// A row of a table without variable columns has no variable trailer.
// Booleans live in the null-mask bit alone, with no room in the fixed area.
// Columns beyond a row's count (added after it was written) are Null.
#pragma once

#include <cstddef>

namespace orvdb::jet::row_layout {

inline constexpr size_t kColumnCount = 0;
inline constexpr size_t kFixedArea = 2;
inline constexpr size_t kOffsetSize = 2;

constexpr size_t nullMaskSize(size_t columnCount) {
    return (columnCount + 7) / 8;
}

// The count, one start per variable column and the end of the data.
constexpr size_t variableTrailerSize(size_t variableCount) {
    return kOffsetSize * (variableCount + 2);
}

// Where the start of variable column k is stored, counted back from the
// null mask.
constexpr size_t variableOffsetBeforeMask(size_t k) {
    return kOffsetSize * (k + 2);
}

// Jet refuses longer rows.
inline constexpr size_t kMaxSize = 4060;

}  // namespace orvdb::jet::row_layout
