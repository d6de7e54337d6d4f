// Table definition (TDEF) pages, read by read/table_definition, written by
// write/table_definition_writer.
//
// Header of the first page:
//   OFFSET  SIZE  FIELD
//      0      1   page type 0x02
//      1      1   0x01
//      2      2   free space: page size - bytes used on the page - 8
//      4      4   next definition page, 0 on the last
//      8      4   total length of the definition
//     12      4   1625
//     16      4   row count
//     20      4   last autonumber handed out
//     24      1   1
//     40      1   table type: 0x4E user, 0x53 system
//     41      2   max columns (the row's column count, deleted columns included)
//     43      2   variable-column count
//     45      2   column count
//     47      4   logical index count
//     51      4   physical index count
//     55      4   owned-pages usage map (row pointer)
//     59      4   free-space usage map (row pointer)
//     63          then, one after the other:
//   12 bytes per physical index  entry counts (IndexCount below)
//   25 bytes per column          (ColumnEntry)
//   column names                 u16 byte length + UTF-16LE each
//   52 bytes per physical index  (PhysicalIndexEntry)
//   28 bytes per logical index   (LogicalIndexEntry)
//   logical index names          as column names
//   10 bytes per Memo/OLE column (LongValueMapEntry), ended by FFFF
//
// A definition longer than a page goes on in continuation pages: the same
// first 8 bytes (type, 0x01, free space, next page), then the next part.
// Offsets below count within the whole definition, continuation headers left out.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvdb::jet::tdef {

inline constexpr size_t kNextPage = 4;
inline constexpr size_t kLength = 8;
inline constexpr size_t kMarker = 12;
inline constexpr size_t kRowCount = 16;
inline constexpr size_t kLastAutoNumber = 20;
inline constexpr size_t kAutoNumberFlag = 24;
inline constexpr size_t kTableType = 40;
inline constexpr size_t kMaxColumns = 41;
inline constexpr size_t kVariableColumns = 43;
inline constexpr size_t kColumnCount = 45;
inline constexpr size_t kLogicalIndexCount = 47;
inline constexpr size_t kPhysicalIndexCount = 51;
inline constexpr size_t kOwnedPages = 55;
inline constexpr size_t kFreeSpacePages = 59;
inline constexpr size_t kHeaderSize = 63;

inline constexpr size_t kContinuationHeader = 8;

// Constants Jet writes in the entries.
inline constexpr uint32_t kDefinitionMarker = 1625;
inline constexpr uint32_t kPhysicalIndexMarker = 1923;
inline constexpr uint8_t kAutoNumberFlagValue = 1;
inline constexpr uint16_t kUnusedColumn = 0xFFFF;  // empty index slot; end of the LV maps
inline constexpr size_t kMaxNameBytes = 64 * 2;    // names of 1 to 64 characters

// Table types.
inline constexpr uint8_t kUserTable = 0x4E;
inline constexpr uint8_t kSystemTable = 0x53;

// 12 bytes per physical index, right after the header.
namespace index_count {
inline constexpr size_t kSize = 12;
inline constexpr size_t kEntries = 4;  // distinct keys in the index
}  // namespace index_count

//   OFFSET  SIZE  FIELD
//      0      1   type code
//      1      4   1625
//      5      2   column number
//      7      2   variable-column index
//      9      2   column number again: the position Access shows
//     11      2   Text/Memo: sort order LCID; Decimal: precision (1), scale (1)
//     13      1   0
//     14      1   sort order version
//     15      1   flags
//     16      1   extended flags
//     17      4   0
//     21      2   offset in the fixed area of a row
//     23      2   length
namespace column {
inline constexpr size_t kSize = 25;
inline constexpr size_t kType = 0;
inline constexpr size_t kMarker = 1;
inline constexpr size_t kNumber = 5;
inline constexpr size_t kVariableIndex = 7;
inline constexpr size_t kDisplayIndex = 9;
inline constexpr size_t kSortOrder = 11;
inline constexpr size_t kPrecision = 11;
inline constexpr size_t kScale = 12;
inline constexpr size_t kSortOrderVersion = 14;
inline constexpr size_t kFlags = 15;
inline constexpr size_t kExtendedFlags = 16;
inline constexpr size_t kFixedOffset = 21;
inline constexpr size_t kLength = 23;
}  // namespace column

//   OFFSET  SIZE  FIELD
//      0      4   1923
//      4     30   10 column slots: u16 column number (FFFF unused), u8 flags
//                 (0x01 ascending)
//     34      4   usage map of the index pages (row pointer)
//     38      4   root page
//     42      4   unknown
//     46      1   index flags (format/index_definition.hpp)
//     47      5   unknown
namespace physical_index {
inline constexpr size_t kSize = 52;
inline constexpr size_t kMarker = 0;
inline constexpr size_t kColumnSlots = 4;
inline constexpr size_t kColumnSlotSize = 3;
inline constexpr size_t kColumnSlotCount = 10;
inline constexpr size_t kSlotColumn = 0;  // within a slot
inline constexpr size_t kSlotOrder = 2;   // within a slot
inline constexpr uint8_t kAscending = 0x01;
inline constexpr size_t kUsageMap = 34;
inline constexpr size_t kRootPage = 38;
inline constexpr size_t kFlags = 46;
}  // namespace physical_index

//   OFFSET  SIZE  FIELD
//      0      4   1625
//      4      4   logical index number
//      8      4   physical index number
//     12      1   related table type
//     13      4   related logical index number, -1 for none
//     17      4   related table definition page
//     21      1   foreign keys: 1 cascade updates; others kNoCascade
//     22      1   foreign keys: 1 cascade deletes, 2 cascade to Null; others kNoCascade
//     23      1   kind: 0 normal, 1 primary key, 2 foreign key
//     24      4   0
namespace logical_index {
inline constexpr size_t kSize = 28;
inline constexpr size_t kMarker = 0;
inline constexpr size_t kNumber = 4;
inline constexpr size_t kPhysicalIndex = 8;
inline constexpr size_t kRelatedTableType = 12;
inline constexpr size_t kRelatedIndex = 13;
inline constexpr size_t kRelatedTablePage = 17;
inline constexpr size_t kCascadeUpdates = 21;
inline constexpr size_t kCascadeDeletes = 22;
inline constexpr size_t kKind = 23;
inline constexpr uint8_t kCascade = 1;
inline constexpr uint8_t kCascadeToNull = 2;  // in the kCascadeDeletes byte
// Access fills the cascade bytes of indexes that are not foreign keys so.
inline constexpr uint8_t kNoCascade = 0x04;
}  // namespace logical_index

//   OFFSET  SIZE  FIELD
//      0      2   column number
//      2      4   owned-pages usage map of its long values (row pointer)
//      6      4   free-space usage map (row pointer)
namespace long_value_map {
inline constexpr size_t kSize = 10;
inline constexpr size_t kColumnNumber = 0;
inline constexpr size_t kOwnedPages = 2;
inline constexpr size_t kFreePages = 6;
}  // namespace long_value_map

}  // namespace orvdb::jet::tdef
