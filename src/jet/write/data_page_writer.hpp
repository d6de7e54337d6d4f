// Fills a data page (table rows, long-value rows or usage-map rows): the
// header, the row offsets, rows packed downwards from the end of the page.
#pragma once

#include <cstdint>
#include <span>

#include "jet/format/row_pointer.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

// The most rows one data page may hold: a row pointer keeps the slot in a byte.
inline constexpr size_t kMaxRowsPerPage = 255;
// Free space of an empty data page: the page minus its 14-byte header.
inline constexpr size_t kEmptyDataPageSpace = kPageSize - 14;

class DataPageBuilder {
public:
    // Starts an empty data page at `number`; `owner` is the table definition
    // page, 0 for usage maps. Long-value pages hold "LVAL" there instead.
    DataPageBuilder(PageSink& pages, uint32_t number, uint32_t owner);
    static DataPageBuilder longValuePage(PageSink& pages, uint32_t number);

    uint32_t number() const { return number_; }
    size_t freeSpace() const { return free_; }
    // Room for a row of `length` bytes and its offset entry.
    bool fits(size_t length) const;
    // Appends the row; the caller checks fits() first.
    RowPointer add(std::span<const uint8_t> row);
    // The bytes of a row already added, for patching (chained long values).
    std::span<uint8_t> row(uint8_t slot);

private:
    PageBytes* page_;
    uint32_t number_;
    uint16_t rows_ = 0;
    size_t free_ = kEmptyDataPageSpace;
    size_t top_ = kPageSize;  // start of the lowest row
};

}  // namespace orvdb::jet
