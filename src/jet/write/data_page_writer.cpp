#include "jet/write/data_page_writer.hpp"

#include <algorithm>

#include "jet/format/bytes.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/data_page.hpp"

namespace orvdb::jet {

namespace {

constexpr size_t kFreeSpaceOffset = 2;
constexpr size_t kOwnerOffset = 4;
constexpr size_t kRowCountOffset = 12;
constexpr size_t kOffsetTable = 14;

}  // namespace

DataPageBuilder::DataPageBuilder(PageSink& pages, uint32_t number, uint32_t owner)
    : page_(&pages.page(number)), number_(number) {
    page_->fill(0);
    (*page_)[0] = kDataPageType;
    (*page_)[1] = 0x01;
    putU16(*page_, kFreeSpaceOffset, static_cast<uint16_t>(free_));
    putU32(*page_, kOwnerOffset, owner);
}

DataPageBuilder DataPageBuilder::longValuePage(PageSink& pages, uint32_t number) {
    DataPageBuilder builder(pages, number, 0);
    std::copy_n("LVAL", 4, builder.page_->begin() + kOwnerOffset);
    return builder;
}

bool DataPageBuilder::fits(size_t length) const {
    return rows_ < kMaxRowsPerPage && length + 2 <= free_;
}

RowPointer DataPageBuilder::add(std::span<const uint8_t> row) {
    if (!fits(row.size())) {
        throw JetError("internal error: a row of " + std::to_string(row.size()) +
                       " bytes does not fit page " + std::to_string(number_));
    }
    top_ -= row.size();
    std::copy(row.begin(), row.end(), page_->begin() + static_cast<ptrdiff_t>(top_));
    putU16(*page_, kOffsetTable + size_t{rows_} * 2, static_cast<uint16_t>(top_));
    free_ -= row.size() + 2;
    ++rows_;
    putU16(*page_, kFreeSpaceOffset, static_cast<uint16_t>(free_));
    putU16(*page_, kRowCountOffset, rows_);
    return RowPointer{number_, static_cast<uint8_t>(rows_ - 1)};
}

std::span<uint8_t> DataPageBuilder::row(uint8_t slot) {
    size_t start = getU16(*page_, kOffsetTable + size_t{slot} * 2);
    size_t end = slot == 0 ? kPageSize : getU16(*page_, kOffsetTable + (size_t{slot} - 1) * 2);
    return std::span<uint8_t>(page_->data() + start, end - start);
}

}  // namespace orvdb::jet
