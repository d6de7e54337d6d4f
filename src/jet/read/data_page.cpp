#include "jet/read/data_page.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"

namespace orvdb::jet {

using namespace data_page;

DataPage::DataPage(PageSource& source, PageRef page, bool verified)
    : page_(std::move(page)), view_(source.view(*page_)) {
    if (view_.u8(page::kType) != page::kDataType) {
        throwCorrupt(source.name(), "page " + std::to_string(page_->number) +
                                        " should be a data page but has page type " +
                                        std::to_string(view_.u8(page::kType)));
    }
    rowCount_ = view_.u16(kRowCount);
    if (rowOffsetAt(rowCount_) > kPageSize) {
        throwCorrupt(source.name(), "data page " + std::to_string(page_->number) + " claims " +
                                        std::to_string(rowCount_) + " rows");
    }
    if (verified) {
        verifyLayout(source.name());
    }
}

// Rows are packed downwards from the end of the page in slot order, and the
// free space is exactly the gap between the offsets and the lowest row:
// Access and the page editor keep both, so an offset that breaks either is
// damage, found before any row is read with the wrong bounds.
void DataPage::verifyLayout(const std::string& file) const {
    size_t tableEnd = rowOffsetAt(rowCount_);
    size_t previous = kPageSize;
    for (uint16_t row = 0; row < rowCount_; ++row) {
        size_t start = view_.u16(rowOffsetAt(row)) & kOffsetMask;
        if (start > previous || start < tableEnd) {
            throwCorrupt(file, "data page " + std::to_string(page_->number) + ": the offset " +
                                   std::to_string(start) + " of row " + std::to_string(row) +
                                   " lies outside " + std::to_string(tableEnd) + ".." +
                                   std::to_string(previous));
        }
        previous = start;
    }
    size_t recorded = view_.u16(page::kFreeSpace);
    if (recorded != previous - tableEnd) {
        throwCorrupt(file, "data page " + std::to_string(page_->number) + " records " +
                               std::to_string(recorded) + " bytes of free space, its rows leave " +
                               std::to_string(previous - tableEnd));
    }
}

bool DataPage::isLongValuePage() const {
    return hasLongValueMark(*page_);
}

RowSlot DataPage::slot(uint16_t row) const {
    if (row >= rowCount_) {
        throwCorrupt(view_.file(), "row " + std::to_string(row) + " does not exist on page " +
                                       std::to_string(page_->number) + ", which has " +
                                       std::to_string(rowCount_) + " rows");
    }
    uint16_t raw = view_.u16(rowOffsetAt(row));
    RowSlot slot;
    slot.deleted = (raw & kDeletedRow) != 0;
    slot.overflow = (raw & kOverflowRow) != 0;
    slot.start = raw & kOffsetMask;
    // Row n ends where row n-1 starts; row 0 ends at the end of the page.
    slot.end = row == 0 ? kPageSize : (view_.u16(rowOffsetAt(row - 1u)) & kOffsetMask);
    size_t tableEnd = rowOffsetAt(rowCount_);
    if (slot.start < tableEnd || slot.start > slot.end || slot.end > kPageSize) {
        if (slot.deleted) {
            slot.start = slot.end = 0;
            return slot;
        }
        throwCorrupt(view_.file(), "row " + std::to_string(row) + " of page " +
                                       std::to_string(page_->number) + " has impossible bounds " +
                                       std::to_string(slot.start) + ".." +
                                       std::to_string(slot.end));
    }
    return slot;
}

ByteView DataPage::rowBytes(uint16_t row) const {
    RowSlot bounds = slot(row);
    return view_.sub(bounds.start, bounds.end - bounds.start);
}

bool isDataPageOf(const Page& page, uint32_t tablePage) {
    return page.bytes[page::kType] == page::kDataType && getU32(page.bytes, kOwner) == tablePage;
}

bool hasLongValueMark(const Page& page) {
    return std::equal(kLongValueMark.begin(), kLongValueMark.end(), page.bytes.begin() + kOwner);
}

}  // namespace orvdb::jet
