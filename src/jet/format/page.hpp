// Pages: a Jet 4 file is a run of 4096-byte pages. Every page but the header
// page opens with its type and the byte 0x01; what follows depends on the
// type (format/data_page.hpp, tdef.hpp, index_page.hpp, usage_map.hpp).
//
//   OFFSET  SIZE  FIELD
//      0      1   page type (below)
//      1      1   0x01
//      2      2   data, definition and index pages: free space
//
// Three pages have fixed places: 0 the header page, 1 the global usage map
// (row 0 of a data page), 2 the table definition of MSysObjects.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvdb::jet {

inline constexpr uint32_t kPageSize = 4096;
using PageBytes = std::array<uint8_t, kPageSize>;
// Row pointers keep a page number in three bytes.
inline constexpr uint32_t kLastPageNumber = 0x00FFFFFF;

inline constexpr uint32_t kHeaderPage = 0;
inline constexpr uint32_t kGlobalUsageMapPage = 1;
inline constexpr uint32_t kCatalogPage = 2;

namespace page {
inline constexpr size_t kType = 0;
inline constexpr size_t kMarker = 1;
inline constexpr uint8_t kMarkerValue = 0x01;
inline constexpr size_t kFreeSpace = 2;

// Page types.
inline constexpr uint8_t kHeaderType = 0x00;  // page 0, and pages never used
inline constexpr uint8_t kDataType = 0x01;    // rows, long values, usage-map rows
inline constexpr uint8_t kDefinitionType = 0x02;
inline constexpr uint8_t kIndexNodeType = 0x03;
inline constexpr uint8_t kIndexLeafType = 0x04;
inline constexpr uint8_t kUsageMapType = 0x05;  // bitmap pages of reference usage maps
// Access turns a long-value page whose rows were all deleted into this type.
inline constexpr uint8_t kEmptiedLongValueType = 0x09;
}  // namespace page

}  // namespace orvdb::jet
