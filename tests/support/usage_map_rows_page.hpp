// A data page holding usage-map rows (owner 0), for tests of the editors
// that change such rows in place.
#pragma once

#include <algorithm>
#include <vector>

#include "jet/format/bytes.hpp"
#include "jet/format/data_page.hpp"
#include "jet/format/page.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::testing {

// Rows packed from the end of the page, row 0 last; `owner` 0 marks a page
// of usage maps.
inline void writeRowsPage(jet::PageBytes& page, const std::vector<jet::Bytes>& rows,
                          uint32_t owner = 0) {
    page.fill(0);
    page[jet::page::kType] = jet::page::kDataType;
    page[jet::page::kMarker] = jet::page::kMarkerValue;
    jet::putU32(page, jet::data_page::kOwner, owner);
    jet::putU16(page, jet::data_page::kRowCount, static_cast<uint16_t>(rows.size()));
    size_t top = jet::kPageSize;
    for (size_t n = 0; n < rows.size(); ++n) {
        top -= rows[n].size();
        std::copy(rows[n].begin(), rows[n].end(), page.begin() + static_cast<ptrdiff_t>(top));
        jet::putU16(page, jet::data_page::rowOffsetAt(n), static_cast<uint16_t>(top));
    }
    // Free space: what lies between the offset table and the rows.
    jet::putU16(page, jet::page::kFreeSpace,
                static_cast<uint16_t>(top - jet::data_page::rowOffsetAt(rows.size())));
}

}  // namespace orvdb::testing
