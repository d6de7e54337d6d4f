// Memo and OLE data of one column: small values go inline into the row,
// larger ones into rows of long-value (LVAL) pages that belong to the column,
// a single row when they fit one, else a chain of rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/format/value.hpp"
#include "jet/write/data_page_writer.hpp"
#include "jet/write/page_set.hpp"
#include "jet/write/value_writer.hpp"

namespace orvdb::jet {

// Values up to this size stay in the row, as Access keeps them.
inline constexpr size_t kMaxInlineLongValue = 64;

class LongValueWriter {
public:
    explicit LongValueWriter(PageSet& pages) : pages_(&pages) {}

    // The row's field for `data`: the header, followed by the data itself
    // when `inlineData`. Throws JetError (prefixed by `where`) for values of
    // 16 MB and more, which common readers cannot follow.
    Bytes store(std::span<const uint8_t> data, bool inlineData, const ValuePlace& where);

    // The long-value pages of the column, ascending.
    std::vector<uint32_t> pages() const;
    // Those with room left for more values.
    std::vector<uint32_t> pagesWithRoom() const;

private:
    DataPageBuilder& pageFor(size_t length);

    PageSet* pages_;
    std::vector<DataPageBuilder> builders_;
};

}  // namespace orvdb::jet
