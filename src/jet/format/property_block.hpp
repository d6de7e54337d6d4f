// Properties of an object (MSysObjects.LvProp), read by read/properties and
// written by the engine when column properties change.
//
//   OFFSET  SIZE  FIELD
//      0      4   "MR2\0"
//      4          blocks, each:
//                   0  4  block length, these 6 bytes included
//                   4  2  block type (below)
//                   6     body
//
// Names block (0x80): the property names, each u16 byte length + UTF-16LE.
// Object (0x00) and column (0x01) blocks: a name part (u32 length, itself
// included, then u16 + UTF-16LE when the block has a name), then entries:
//      0      2   entry length, these 8 bytes included
//      2      1   flags
//      3      1   value type (format/column.hpp type codes)
//      4      2   index of the name in the names block
//      6      2   value size
//      8          value
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvdb::jet::property_block {

inline constexpr std::string_view kSignature{"MR2\0", 4};

inline constexpr size_t kBlockLength = 0;
inline constexpr size_t kBlockType = 4;
inline constexpr size_t kBlockHeader = 6;

inline constexpr uint16_t kNamesBlock = 0x80;
inline constexpr uint16_t kObjectBlock = 0x00;
inline constexpr uint16_t kColumnBlock = 0x01;

inline constexpr size_t kNamePartLength = 4;  // the u32 before the name

inline constexpr size_t kEntryLength = 0;
inline constexpr size_t kEntryFlags = 2;
inline constexpr size_t kEntryType = 3;
inline constexpr size_t kEntryNameIndex = 4;
inline constexpr size_t kEntryValueSize = 6;
inline constexpr size_t kEntryHeader = 8;

}  // namespace orvdb::jet::property_block
