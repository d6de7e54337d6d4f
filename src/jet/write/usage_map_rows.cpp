#include "jet/write/usage_map_rows.hpp"

#include <algorithm>

#include "jet/format/data_page.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/format/usage_map.hpp"
#include "jet/write/data_page_writer.hpp"

namespace orvdb::jet {

namespace {

// Map rows all have the same size, so a page holds a fixed number of them.
constexpr size_t kRowsPerPage =
    data_page::kEmptySpace / (usage_map::kRowSize + data_page::kRowOffsetSize);

}  // namespace

UsageMapRows::UsageMapRows(PageSet& pages, size_t rowCount) : rows_(rowCount) {
    size_t pageCount = (rowCount + kRowsPerPage - 1) / kRowsPerPage;
    for (size_t n = 0; n < pageCount; ++n) {
        pages_.push_back(pages.allocate());
    }
}

RowPointer UsageMapRows::add(Bytes row) {
    if (next_ >= rows_.size() || row.size() != usage_map::kRowSize) {
        throw JetError("internal error: usage-map row " + std::to_string(next_) +
                       " was not planned for");
    }
    RowPointer where{pages_[next_ / kRowsPerPage], static_cast<uint8_t>(next_ % kRowsPerPage)};
    rows_[next_++] = std::move(row);
    return where;
}

void UsageMapRows::writePages(PageSet& pages) const {
    for (size_t n = 0; n < pages_.size(); ++n) {
        DataPageBuilder page(pages, pages_[n], 0);
        size_t end = std::min(next_, (n + 1) * kRowsPerPage);
        for (size_t row = n * kRowsPerPage; row < end; ++row) {
            page.add(rows_[row]);
        }
    }
}

}  // namespace orvdb::jet
