#include "jet/read/data_page.hpp"

#include <cstring>

namespace orvdb::jet {

namespace {

constexpr size_t kRowCountOffset = 12;
constexpr size_t kOffsetTable = 14;
constexpr uint16_t kDeletedFlag = 0x8000;
constexpr uint16_t kOverflowFlag = 0x4000;
constexpr uint16_t kOffsetMask = 0x1FFF;

}  // namespace

DataPage::DataPage(PageSource& source, PageRef page)
    : page_(std::move(page)), view_(source.view(*page_)) {
    if (view_.u8(0) != kDataPageType) {
        throwCorrupt(source.name(), "page " + std::to_string(page_->number) +
                                        " should be a data page but has page type " +
                                        std::to_string(view_.u8(0)));
    }
    rowCount_ = view_.u16(kRowCountOffset);
    if (kOffsetTable + size_t{rowCount_} * 2 > kPageSize) {
        throwCorrupt(source.name(), "data page " + std::to_string(page_->number) + " claims " +
                                        std::to_string(rowCount_) + " rows");
    }
}

bool DataPage::isLongValuePage() const {
    return std::memcmp(view_.data() + 4, "LVAL", 4) == 0;
}

RowSlot DataPage::slot(uint16_t row) const {
    if (row >= rowCount_) {
        throwCorrupt(view_.file(), "row " + std::to_string(row) + " does not exist on page " +
                                       std::to_string(page_->number) + ", which has " +
                                       std::to_string(rowCount_) + " rows");
    }
    uint16_t raw = view_.u16(kOffsetTable + size_t{row} * 2);
    RowSlot slot;
    slot.deleted = (raw & kDeletedFlag) != 0;
    slot.overflow = (raw & kOverflowFlag) != 0;
    slot.start = raw & kOffsetMask;
    // Row n ends where row n-1 starts; row 0 ends at the end of the page.
    slot.end =
        row == 0 ? kPageSize : (view_.u16(kOffsetTable + (size_t{row} - 1) * 2) & kOffsetMask);
    size_t tableEnd = kOffsetTable + size_t{rowCount_} * 2;
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
    uint32_t owner = page.bytes[4] | (page.bytes[5] << 8) | (page.bytes[6] << 16) |
                     (uint32_t{page.bytes[7]} << 24);
    return page.bytes[0] == kDataPageType && owner == tablePage;
}

}  // namespace orvdb::jet
