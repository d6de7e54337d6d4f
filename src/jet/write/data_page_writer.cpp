#include "jet/write/data_page_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"

namespace orvdb::jet {

using namespace data_page;

DataPageBuilder::DataPageBuilder(PageSink& pages, uint32_t number, uint32_t owner)
    : page_(&pages.page(number)), number_(number) {
    page_->fill(0);
    (*page_)[page::kType] = page::kDataType;
    (*page_)[page::kMarker] = page::kMarkerValue;
    putU16(*page_, page::kFreeSpace, static_cast<uint16_t>(free_));
    putU32(*page_, kOwner, owner);
}

DataPageBuilder DataPageBuilder::longValuePage(PageSink& pages, uint32_t number) {
    DataPageBuilder builder(pages, number, 0);
    std::copy(kLongValueMark.begin(), kLongValueMark.end(), builder.page_->begin() + kOwner);
    return builder;
}

bool DataPageBuilder::fits(size_t length) const {
    return rows_ < kMaxRows && length + kRowOffsetSize <= free_;
}

RowPointer DataPageBuilder::add(std::span<const uint8_t> row) {
    if (!fits(row.size())) {
        throw JetError("internal error: a row of " + std::to_string(row.size()) +
                       " bytes does not fit page " + std::to_string(number_));
    }
    top_ -= row.size();
    std::copy(row.begin(), row.end(), page_->begin() + static_cast<ptrdiff_t>(top_));
    putU16(*page_, rowOffsetAt(rows_), static_cast<uint16_t>(top_));
    free_ -= row.size() + kRowOffsetSize;
    ++rows_;
    putU16(*page_, page::kFreeSpace, static_cast<uint16_t>(free_));
    putU16(*page_, kRowCount, rows_);
    return RowPointer{number_, static_cast<uint8_t>(rows_ - 1)};
}

std::span<uint8_t> DataPageBuilder::row(uint8_t slot) {
    size_t start = getU16(*page_, rowOffsetAt(slot));
    size_t end = slot == 0 ? kPageSize : getU16(*page_, rowOffsetAt(slot - 1u));
    return std::span<uint8_t>(page_->data() + start, end - start);
}

}  // namespace orvdb::jet
