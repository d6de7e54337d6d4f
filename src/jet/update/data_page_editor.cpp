#include "jet/update/data_page_editor.hpp"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet::data_page_edit {

using namespace data_page;

namespace {

uint16_t rawOffset(const PageBytes& page, uint16_t slot) {
    return getU16(page, rowOffsetAt(slot));
}

uint16_t startOf(const PageBytes& page, uint16_t slot) {
    return rawOffset(page, slot) & kOffsetMask;
}

uint16_t endOf(const PageBytes& page, uint16_t slot) {
    return slot == 0 ? kPageSize : startOf(page, slot - 1);
}

// The lowest byte any row uses.
size_t rowsStart(const PageBytes& page) {
    uint16_t count = slotCount(page);
    return count == 0 ? kPageSize : startOf(page, count - 1);
}

void updateFreeSpace(PageBytes& page) {
    size_t tableEnd = rowOffsetAt(slotCount(page));
    putU16(page, jet::page::kFreeSpace, static_cast<uint16_t>(rowsStart(page) - tableEnd));
}

// Makes row `slot` `length` bytes long, moving the rows after it (lower in
// the page) so that they stay back to back. The row's old bytes are kept
// from its start as far as they fit.
void resizeRow(PageBytes& page, uint16_t slot, size_t length) {
    size_t start = startOf(page, slot);
    size_t end = endOf(page, slot);
    size_t oldLength = end - start;
    if (length == oldLength) {
        return;
    }
    size_t low = rowsStart(page);
    ptrdiff_t shift = static_cast<ptrdiff_t>(oldLength) - static_cast<ptrdiff_t>(length);
    // Rows slot+1.. occupy [low, start); the row itself [start, end).
    size_t keep = std::min(oldLength, length);
    std::vector<uint8_t> rowHead(page.begin() + static_cast<ptrdiff_t>(start),
                                 page.begin() + static_cast<ptrdiff_t>(start + keep));
    std::memmove(page.data() + low + shift, page.data() + low, start - low);
    size_t newStart = end - length;
    if (keep > 0) {
        std::memcpy(page.data() + newStart, rowHead.data(), keep);
    }
    uint16_t count = slotCount(page);
    for (uint16_t other = slot; other < count; ++other) {
        uint16_t raw = rawOffset(page, other);
        auto moved = static_cast<uint16_t>(static_cast<ptrdiff_t>(raw & kOffsetMask) + shift);
        putU16(page, rowOffsetAt(other), static_cast<uint16_t>((raw & kFlagsMask) | moved));
    }
    updateFreeSpace(page);
}

void setFlags(PageBytes& page, uint16_t slot, uint16_t rowFlags) {
    uint16_t raw = rawOffset(page, slot);
    putU16(page, rowOffsetAt(slot),
           static_cast<uint16_t>((raw & kOffsetMask) | (rowFlags & kFlagsMask)));
}

std::optional<uint16_t> reusableSlot(const PageBytes& page) {
    uint16_t count = slotCount(page);
    for (uint16_t slot = 0; slot < count; ++slot) {
        if ((rawOffset(page, slot) & kFlagsMask) == kDeletedRowFlags &&
            startOf(page, slot) == endOf(page, slot)) {
            return slot;
        }
    }
    return std::nullopt;
}

}  // namespace

void initialize(PageBytes& page, uint32_t owner) {
    page.fill(0);
    page[jet::page::kType] = jet::page::kDataType;
    page[jet::page::kMarker] = jet::page::kMarkerValue;
    putU32(page, kOwner, owner);
    updateFreeSpace(page);
}

void initializeLongValuePage(PageBytes& page) {
    initialize(page, 0);
    std::copy(kLongValueMark.begin(), kLongValueMark.end(), page.begin() + kOwner);
}

uint16_t slotCount(const PageBytes& page) {
    return getU16(page, kRowCount);
}

uint16_t freeSpace(const PageBytes& page) {
    return getU16(page, jet::page::kFreeSpace);
}

uint16_t flags(const PageBytes& page, uint8_t slot) {
    return rawOffset(page, slot) & kFlagsMask;
}

bool isDeleted(const PageBytes& page, uint8_t slot) {
    return (flags(page, slot) & kDeletedRowFlags) == kDeletedRowFlags;
}

std::span<const uint8_t> rowBytes(const PageBytes& page, uint8_t slot) {
    size_t start = startOf(page, slot);
    size_t end = endOf(page, slot);
    if (slot >= slotCount(page) || start > end || end > kPageSize) {
        throw JetError("internal error: row " + std::to_string(slot) +
                       " of a data page is out of bounds");
    }
    return {page.data() + start, end - start};
}

bool fits(const PageBytes& page, size_t length) {
    size_t gap = rowsStart(page) - rowOffsetAt(slotCount(page));
    if (reusableSlot(page)) {
        return length <= gap;
    }
    return slotCount(page) < kMaxRows && length + kRowOffsetSize <= gap;
}

uint8_t addRow(PageBytes& page, std::span<const uint8_t> row, uint16_t rowFlags) {
    uint16_t slot;
    if (std::optional<uint16_t> reused = reusableSlot(page)) {
        slot = *reused;
    } else {
        slot = slotCount(page);
        auto low = static_cast<uint16_t>(rowsStart(page));
        putU16(page, kRowCount, static_cast<uint16_t>(slot + 1));
        putU16(page, rowOffsetAt(slot), low);  // an empty row for now
    }
    resizeRow(page, slot, row.size());
    std::memcpy(page.data() + startOf(page, slot), row.data(), row.size());
    setFlags(page, slot, rowFlags);
    updateFreeSpace(page);
    return static_cast<uint8_t>(slot);
}

bool fitsReplacing(const PageBytes& page, uint8_t slot, size_t length) {
    size_t current = endOf(page, slot) - startOf(page, slot);
    return length <= current + freeSpace(page);
}

void replaceRow(PageBytes& page, uint8_t slot, std::span<const uint8_t> row, uint16_t rowFlags) {
    resizeRow(page, slot, row.size());
    std::memcpy(page.data() + startOf(page, slot), row.data(), row.size());
    setFlags(page, slot, rowFlags);
}

void deleteRow(PageBytes& page, uint8_t slot) {
    resizeRow(page, slot, 0);
    setFlags(page, slot, kDeletedRowFlags);
}

bool empty(const PageBytes& page) {
    uint16_t count = slotCount(page);
    for (uint16_t slot = 0; slot < count; ++slot) {
        if ((rawOffset(page, slot) & kDeletedRowFlags) != kDeletedRowFlags) {
            return false;
        }
    }
    return true;
}

uint32_t owner(const PageBytes& page) {
    return getU32(page, data_page::kOwner);
}

bool isLongValuePage(const PageBytes& page) {
    return page[page::kType] == page::kDataType &&
           std::equal(data_page::kLongValueMark.begin(), data_page::kLongValueMark.end(),
                      page.begin() + data_page::kOwner);
}

bool isDataPageOf(const PageBytes& page, uint32_t tablePage) {
    return page[page::kType] == page::kDataType && owner(page) == tablePage;
}

bool isMapRowPage(const PageBytes& page) {
    return isDataPageOf(page, 0);
}

}  // namespace orvdb::jet::data_page_edit
