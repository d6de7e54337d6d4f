// Usage maps: which pages belong to a table, an index or a long-value column,
// and (row 0 of page 1) which pages of the file are free. A map is one row of
// a data page; read by read/usage_map, written by write/usage_map_writer.
//
// Inline map (type 0), a bitmap of pages from a start page:
//   OFFSET  SIZE  FIELD
//      0      1   0x00
//      1      4   start page
//      5    n-5   bitmap: bit k set = page start + k is listed
//
// Reference map (type 1), for pages too far apart for one row:
//      0      1   0x01
//      1    4*k   map pages (0: none); slot k covers the pages from
//                 k * kPagesPerMapPage on
//
// Map page (page type 0x05):
//      0      1   0x05
//      1      1   0x01
//      2      2   0
//      4   4092   bitmap of kPagesPerMapPage pages
//
// In the global map a set bit marks a FREE page; pages past the map count
// as free.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/format/page.hpp"

namespace orvdb::jet::usage_map {

inline constexpr size_t kType = 0;
inline constexpr uint8_t kInline = 0x00;
inline constexpr uint8_t kReference = 0x01;

inline constexpr size_t kStartPage = 1;
inline constexpr size_t kInlineBitmap = 5;
inline constexpr size_t kMapPages = 1;
inline constexpr size_t kMapPageSlotSize = 4;
// Where slot `slot` of a reference map names its map page.
constexpr size_t mapPageSlotAt(size_t slot) {
    return kMapPages + slot * kMapPageSlotSize;
}
inline constexpr size_t kMapPageBitmap = 4;
inline constexpr uint32_t kPagesPerMapPage = (kPageSize - kMapPageBitmap) * 8;

// Access writes every map row with this many bytes: an inline map then
// covers 512 pages, a reference map 17 map pages.
inline constexpr size_t kRowSize = 69;
inline constexpr uint32_t kInlinePages = (kRowSize - kInlineBitmap) * 8;
inline constexpr size_t kMapPageSlots = (kRowSize - kMapPages) / kMapPageSlotSize;

}  // namespace orvdb::jet::usage_map
