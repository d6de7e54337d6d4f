// Memo and OLE values. Read by read/long_value, written by
// write/long_value_writer.
//
// The row holds a 12-byte header:
//   OFFSET  SIZE  FIELD
//      0      4   length, with flags in the top two bits
//      4      4   row pointer to the data (single row or first link)
//      8      4   0
//     12          inline data (kInlineFlag only)
//
// Flags: 0x80 the data follows the header in the row; 0x40 the data is one
// row of a long-value page; neither: a chain of rows, each starting with
// the row pointer of the next link (0 on the last) followed by its data.
// Long-value pages are data pages marked "LVAL" (format/data_page.hpp),
// listed in the column's own usage maps.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvdb::jet::long_value {

inline constexpr size_t kLength = 0;
inline constexpr size_t kPointer = 4;
inline constexpr size_t kHeaderSize = 12;

inline constexpr uint32_t kInlineFlag = 0x80000000;
inline constexpr uint32_t kSingleRowFlag = 0x40000000;
inline constexpr uint32_t kLengthMask = 0x3FFFFFFF;

inline constexpr size_t kLinkNext = 0;
inline constexpr size_t kLinkData = 4;

// What Access puts in one row: a single-row value, one link's data.
inline constexpr size_t kMaxSingleRow = 4076;
inline constexpr size_t kMaxLinkData = 4072;
// Common readers (mdbtools) follow a chain only when the top length byte
// is 0: values stay below 16 MB.
inline constexpr size_t kMaxLength = 0x00FFFFFF;

}  // namespace orvdb::jet::long_value
