// A data page holding usage-map rows (owner 0), for tests of the editors
// that change such rows in place.
#pragma once

#include <algorithm>
#include <vector>

#include "jet/format/bytes.hpp"
#include "jet/format/value.hpp"
#include "jet/read/page_source.hpp"

namespace orvdb::testing {

// Rows packed from the end of the page, row 0 last; `owner` 0 marks a page
// of usage maps.
inline void writeRowsPage(jet::PageBytes& page, const std::vector<jet::Bytes>& rows,
                          uint32_t owner = 0) {
    page.fill(0);
    page[0] = 0x01;
    page[1] = 0x01;
    jet::putU32(page, 4, owner);
    jet::putU16(page, 12, static_cast<uint16_t>(rows.size()));
    size_t top = jet::kPageSize;
    for (size_t n = 0; n < rows.size(); ++n) {
        top -= rows[n].size();
        std::copy(rows[n].begin(), rows[n].end(), page.begin() + static_cast<ptrdiff_t>(top));
        jet::putU16(page, 14 + n * 2, static_cast<uint16_t>(top));
    }
    // Free space: what lies between the offset table and the rows.
    jet::putU16(page, 2, static_cast<uint16_t>(top - 14 - rows.size() * 2));
}

}  // namespace orvdb::testing
