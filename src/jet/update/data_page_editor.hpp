// Changing rows of a data page in place (table rows, long-value rows,
// usage-map rows: all share the layout of format/data_page.hpp).
//
// Rows stay back to back from the end of the page in slot order, so the free
// space is one gap. Slot numbers are the rows' identities (row pointers), so
// an edit moves bytes but never renumbers a slot; a deleted row keeps its
// slot with no bytes, and a later row may take it. Row flags are those of
// format/data_page.hpp (data_page::kDeletedRowFlags, kDeletedRow alone for
// the target of an overflow row, kOverflowRow for the row pointing there).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "jet/format/data_page.hpp"
#include "jet/format/page.hpp"

namespace orvdb::jet::data_page_edit {

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

// The page's owner field; whether it is a data page of table `tablePage`; a
// long-value page; a page of usage-map rows (owner 0).
uint32_t owner(const PageBytes& page);
bool isDataPageOf(const PageBytes& page, uint32_t tablePage);
bool isLongValuePage(const PageBytes& page);
bool isMapRowPage(const PageBytes& page);

}  // namespace orvdb::jet::data_page_edit
