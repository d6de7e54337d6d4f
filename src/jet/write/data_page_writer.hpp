// Fills a data page (format/data_page.hpp) with table rows, long-value rows
// or usage-map rows.
#pragma once

#include <cstdint>
#include <span>

#include "jet/format/data_page.hpp"
#include "jet/format/row_pointer.hpp"
#include "jet/write/page_set.hpp"

namespace orvdb::jet {

// Data and long-value pages with at least this much room are listed in a
// free-space usage map.
inline constexpr size_t kRoomWorthListing = 64;

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
    size_t free_ = data_page::kEmptySpace;
    size_t top_ = kPageSize;  // start of the lowest row
};

}  // namespace orvdb::jet
