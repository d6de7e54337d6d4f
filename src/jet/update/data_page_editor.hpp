// Changing rows of a data page in place (table rows, long-value rows,
// usage-map rows: all share the layout).
//
//   OFFSET  SIZE  FIELD
//      0     1    0x01
//      1     1    0x01
//      2     2    free space: the gap between the offset table and the rows
//      4     4    owner: table definition page, 0 for usage maps, "LVAL"
//     12     2    row count (slots)
//     14   2*n    row offsets; flags on top: 0x8000 no row of its own
//                 (0xC000 deleted, 0x8000 alone: the target of an overflow
//                 pointer), 0x4000 the row holds a pointer to its data
//
// Rows sit back to back from the end of the page in slot order: row 0 ends
// at the page's end and row n ends where row n-1 starts, so the free space
// is one gap. Slot numbers are the rows' identities (row pointers), so an
// edit moves bytes but never renumbers a slot; a deleted row keeps its slot
// with no bytes, and a later row may take it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "jet/read/page_source.hpp"

namespace orvdb::jet::data_page_edit {

inline constexpr uint16_t kDeletedFlags = 0xC000;
inline constexpr uint16_t kOverflowTargetFlags = 0x8000;
inline constexpr uint16_t kOverflowPointerFlag = 0x4000;
inline constexpr size_t kMaxSlots = 255;

// An empty data page owned by `owner`.
void initialize(PageBytes& page, uint32_t owner);
// An empty long-value page.
void initializeLongValuePage(PageBytes& page);

uint16_t slotCount(const PageBytes& page);
uint16_t freeSpace(const PageBytes& page);
uint16_t flags(const PageBytes& page, uint8_t slot);
bool isDeleted(const PageBytes& page, uint8_t slot);
std::span<const uint8_t> rowBytes(const PageBytes& page, uint8_t slot);

// Room for a new row of `length` bytes (a slot of its own or a deleted one).
bool fits(const PageBytes& page, size_t length);
// Adds a row with `rowFlags` (0 for an ordinary row), in a deleted slot when
// there is one, else in a new slot. The caller checked fits().
uint8_t addRow(PageBytes& page, std::span<const uint8_t> row, uint16_t rowFlags = 0);
// Room to replace row `slot` by `length` bytes.
bool fitsReplacing(const PageBytes& page, uint8_t slot, size_t length);
// Replaces the bytes and flags of row `slot`; the caller checked fitsReplacing().
void replaceRow(PageBytes& page, uint8_t slot, std::span<const uint8_t> row, uint16_t rowFlags);
// Deletes row `slot`: its bytes are given back, the slot stays, marked deleted.
void deleteRow(PageBytes& page, uint8_t slot);
// No live row left (every slot deleted).
bool empty(const PageBytes& page);

}  // namespace orvdb::jet::data_page_edit
